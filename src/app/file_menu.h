#pragma once
// "Acceleration": open a .kvx file as the acceleration view.
#include <string>

namespace accelog {
void OpenAccelerationFromDialog();
// "Frequency": open a .kvx file as the spectra of its first
// 256 points.
void OpenFrequencyFromDialog();
// The same views of a file named without the dialog (the command line).
void OpenAccelerationFile(const std::string& name);
void OpenFrequencyFile(const std::string& name);
}  // namespace accelog
