#pragma once
// The logger's menu items: each asks its dialogs first, then hands the
// device what was chosen.
namespace accelog {

class Device;

// "System Parameter": the parameter dialog, then the parameters sent.
void SendSystemParameters(Device& device);
// "Download Data": the file dialog and its checks, then the download.
void DownloadData(Device& device);
// "Real Time Data" and "Real Time Data For Frequency": a second click stops
// the running capture; otherwise the dialogs, then the capture.
void ToggleLiveCapture(Device& device);
void ToggleLiveSpectrum(Device& device);

}  // namespace accelog
