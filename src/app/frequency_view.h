#pragma once
// The two views of a 256-point spectrum set in the chart window: its three
// spectra (DispFrequency) and its raw curves (DispFrequencyData), and the
// chart side of the "Frequency" menu item.
#include <string>

#include "model/fft.h"

namespace accelog {

// Spectra of RealData(1..256) drawn as curves X, Y, Z over lines 1..128,
// with the spectrum axis. The caller holds AccelOffset at 0 around it.
void DispFrequency();
// The same 256 points as mg curves with the mg and angle axes.
void DispFrequencyData();

// The "Hann window" box: the spectra from now on with (1) or without (0)
// the window; a spectrum file in view is redrawn at once.
void CheckHann_Click(int16_t value);

// "Frequency" after the file was chosen: DataFileName = file, the file read
// (refusals shown), the spectrum view with "Disp Frequency" ticked,
// MenuCommandCode back at 0. Installs the two views for "Disp Frequency".
FrequencyFileResult OpenFrequencyFileInChart(const std::string& file);

}  // namespace accelog
