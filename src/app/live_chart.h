#pragma once
// The chart side of the two live captures.

namespace accelog {

// A live-data run: X, Y, Z, V and the points on, the angles off, all eight
// curve boxes enabled; the axis scale follows the run from its first point.
void DispRealTimeDataReady_12();
// A live-spectrum run: X, Y, Z and the points on and enabled, V and the
// angles off and disabled; MenuCommandCode 13, the spectrum view on,
// ParameterDialogMode 2.
void DispRealTimeFrequencyReady_13();
// RealData(CountPoint) has just arrived: the axis grows to the largest value
// so far, and the curves, statistics and count box show points 1..CountPoint
// in the slots RealCountPoint laid out.
void DispLivePoint();
// RealData(1..256) holds a new live set (statistics done): the statistics
// boxes and, with the spectrum view on, the three spectra over 128 lines;
// otherwise the 256 samples as curves.
void DispLiveSet();

}  // namespace accelog
