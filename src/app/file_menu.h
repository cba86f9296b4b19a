#pragma once
// "Acceleration": open a .kvx file as the acceleration view.
#include <string>

namespace accelog {

class Dataset;
void OpenAccelerationFromDialog(Dataset& data);
// "Frequency": open a .kvx file as the spectra of its first
// 256 points.
void OpenFrequencyFromDialog(Dataset& data);
// The same views of a file named without the dialog (the command line).
void OpenAccelerationFile(Dataset& data, const std::string& name);
void OpenFrequencyFile(Dataset& data, const std::string& name);
}  // namespace accelog
