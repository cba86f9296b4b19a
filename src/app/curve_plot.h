#pragma once
// The seven curves over the 200 columns: per column a connector, three
// chained segments, a gap bridge and four markers per curve, whatever the
// number of points in the column. Also the chart's entry points of the
// conversion: DispCurve, HideAllZeroPoint and DispMaxMin.
#include <cstdint>

namespace accelog {

// x(c) of the curve objects: Nearest((c - 1) x 50 x TwipsPerUnitX + 50).
int32_t CurveColumnX(int c);
// Drawn y of curve k at point p: offset x TwipsPerUnitY + plot field.
double CurveY(int k, int32_t p);

// The families, by curve index (Curve enum).
void DispCurveOf(int k, int32_t start, int32_t end);
void DispNoDataPointOf(int k);
void HideNoDataPointOf(int k);
void DispPointOf(int k);
void HideLineOf(int k);
void HideAllZeroPointOf(int k);

// The same under their own names.
#define ACCELOG_CURVE_FAMILY(S)                          \
  void DispCurve##S(int32_t start, int32_t end);         \
  void DispNoDataPoint##S();                             \
  void HideNoDataPoint##S();                             \
  void DispPoint##S();                                   \
  void HideLine##S();                                    \
  void HideAllZeroPoint##S();
ACCELOG_CURVE_FAMILY(X)
ACCELOG_CURVE_FAMILY(Y)
ACCELOG_CURVE_FAMILY(Z)
ACCELOG_CURVE_FAMILY(V)
ACCELOG_CURVE_FAMILY(AX)
ACCELOG_CURVE_FAMILY(AY)
ACCELOG_CURVE_FAMILY(AZ)
#undef ACCELOG_CURVE_FAMILY

void DispNoDataPoint();
void HideNoDataPoint();
void DispPointALL();
void HideDispPointAll(int16_t flag);

// Curve check boxes Check1..Check7 (k = 0..6) and "Disp Point" (Check8).
void CurveCheck_Click(int k, int16_t value);
void Check8_Click(int16_t value);

// Redraws the chart for RealData(start..end): curves, x labels,
// statistics, point count, zero points.
void DispCurve(int32_t start, int32_t end);
// ZeroPointFlag per column, then the markers of flagged columns hidden.
void HideAllZeroPoint(int32_t start, int32_t end);
// Statistics boxes Text1..Text20 from the conversion's statistics.
void DispMaxMin();
// The main window's ClearScreen: curves parked, markers following them,
// no data set loaded.
void ClearScreen();

}  // namespace accelog
