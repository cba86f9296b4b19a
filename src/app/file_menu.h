#pragma once
// "Acceleration" (File004_Click): open a .kvx file as the acceleration view.
#include <string>

namespace accelog {
void File004_Click();
// "Frequency" (File005_Click): open a .kvx file as the spectra of its first
// 256 points.
void File005_Click();
// The same views of a file named without the dialog (the command line).
void OpenAccelerationFile(const std::string& name);
void OpenFrequencyFile(const std::string& name);
}  // namespace accelog
