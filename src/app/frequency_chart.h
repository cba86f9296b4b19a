#pragma once
// Spectrum mode of the chart: the three spectra of RealData(1..128) drawn
// as the X, Y and Z curves (Chart::LabelSpectrumAxis).

#include <cstdint>

namespace accelog {

inline constexpr int kSpectrumLines = 128;

// The spectrum axis divisor F for the largest magnitude of the three axes:
// 1 below 4500, else Int(max / 5000) + 2. The axis reads 0 .. 5000 x F.
float SpectrumScale(int64_t max_magnitude);

}  // namespace accelog
