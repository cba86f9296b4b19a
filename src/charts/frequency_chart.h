#pragma once
// Spectrum mode of the chart: the three spectra of RealData(1..128) drawn
// as the X, Y and Z curves.

namespace accelog {

inline constexpr int kSpectrumLines = 128;

// Peak line per axis into Text21..Text23, a common scale, the left axis in
// spectrum units, and the magnitudes in PlotX/PlotY/PlotZ of records
// 1..128 turned into plot positions. Converts in place: once per spectrum.
void DispLeftLableF();

}  // namespace accelog
