#include "app/curve_plot.h"

#include <cmath>
#include <string>

#include "app/chart_frame.h"
#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "model/conversion.h"
#include "model/state.h"

namespace accelog {

namespace {

double Nearest(double v) { return std::nearbyint(v); }

// Curve k's plot position of point p; a point never placed lies at 0.
inline double Field(int k, int32_t p) {
  const PlotColumns& c = Data.Plot;
  const auto at = [p](const auto& column) -> double {
    return p >= 0 && p < static_cast<int32_t>(column.size()) ? column[static_cast<size_t>(p)] : 0;
  };
  switch (k) {
    case kCurveX: return at(c.X);
    case kCurveY: return at(c.Y);
    case kCurveZ: return at(c.Z);
    case kCurveV: return at(c.V);
    case kCurveAX: return at(c.AX);
    case kCurveAY: return at(c.AY);
    default: return at(c.AZ);
  }
}

inline double Base(int k) {
  const double offset = k <= kCurveV ? Conv.AccelOffset : ChartState.AngleOffset;
  return offset * Conv.TwipsPerUnitY;
}

// Points of column c, kept inside the table.
inline bool ColumnPoints(int c, int32_t& first, int32_t& count) {
  count = Data.SlotUsed[c];
  first = Data.SlotPoint[c];
  if (count <= 0) return false;
  if (first < 1) first = 1;
  if (first > kMaxRecords) return false;
  if (count > kMaxRecords - first + 1) count = kMaxRecords - first + 1;
  return true;
}

// Smallest and largest plot field of every column with five or more points,
// for all seven curves in one pass over the points (DispCurve fills it so the
// seven curves do not each walk the whole window).
struct ColumnExtremes {
  double Min[kCurves][kColumns + 1];
  double Max[kCurves][kColumns + 1];
  bool Valid;
};
ColumnExtremes g_extremes;

void ComputeColumnExtremes() {
  for (int c = 1; c <= kColumns; ++c) {
    int32_t s, n;
    if (!ColumnPoints(c, s, n) || n < 5) continue;
    double mn[kCurves], mx[kCurves];
    for (int k = 0; k < kCurves; ++k) {
      mn[k] = 1000000.0;
      mx[k] = -1000000.0;
    }
    for (int k = 0; k < kCurves; ++k) {
      for (int32_t p = s; p < s + n; ++p) {
        const double f = Field(k, p);
        if (f < mn[k]) mn[k] = f;
        if (f > mx[k]) mx[k] = f;
      }
    }
    for (int k = 0; k < kCurves; ++k) {
      g_extremes.Min[k][c] = mn[k];
      g_extremes.Max[k][c] = mx[k];
    }
  }
  g_extremes.Valid = true;
}

void ColumnExtreme(int k, int c, int32_t s, int32_t n, double& mn, double& mx) {
  if (g_extremes.Valid) {
    mn = g_extremes.Min[k][c];
    mx = g_extremes.Max[k][c];
    return;
  }
  mn = 1000000.0;
  mx = -1000000.0;
  for (int32_t p = s; p < s + n; ++p) {
    const double f = Field(k, p);
    if (f < mn) mn = f;
    if (f > mx) mx = f;
  }
}

void Park(SceneLine& l, float y) { l.Y1 = l.Y2 = y; }

}  // namespace

int32_t CurveColumnX(int c) {
  return static_cast<int32_t>(Nearest((c - 1) * 50.0 * ChartState.TwipsPerUnitX + 50.0));
}

double CurveY(int k, int32_t p) {
  if (p < 0 || p > kMaxRecords) p = 0;
  return Base(k) + Field(k, p);
}

void DispCurveOf(int k, int32_t start, int32_t /*end*/) {
  auto& line = ChartScene.CurveLine[k];
  const double base = Base(k);
  auto y = [&](int32_t p) { return static_cast<float>(base + Field(k, p)); };
  float last = static_cast<float>(Nearest(CurveY(k, start)));
  bool previous_empty = false;
  for (int c = 1; c <= kColumns; ++c) {
    int32_t s, n;
    if (!ColumnPoints(c, s, n)) {
      previous_empty = true;
      continue;
    }
    const float first = y(s);
    SceneLine& connector = line[1][c];
    if (previous_empty) {
      Park(connector, kParkHidden);
    } else {
      connector.Y1 = last;
      connector.Y2 = first;
    }
    float e2, e3, e4;
    if (n == 1) {
      e2 = e3 = e4 = first;
    } else if (n == 2) {
      e2 = e3 = e4 = y(s + 1);
    } else if (n == 3) {
      e2 = y(s + 1);
      e3 = e4 = y(s + 2);
    } else if (n == 4) {
      e2 = y(s + 1);
      e3 = y(s + 2);
      e4 = y(s + 3);
    } else {
      double mn, mx;
      ColumnExtreme(k, c, s, n, mn, mx);
      e2 = static_cast<float>(base + mn);
      e3 = static_cast<float>(base + mx);
      e4 = y(s + n - 1);
    }
    line[2][c].Y1 = first;
    line[2][c].Y2 = e2;
    line[3][c].Y1 = e2;
    line[3][c].Y2 = e3;
    line[4][c].Y1 = e3;
    line[4][c].Y2 = e4;
    last = static_cast<float>(Nearest(e4));
    previous_empty = false;
  }
}

void DispNoDataPointOf(int k) {
  auto& line = ChartScene.CurveLine[k];
  float last_y = static_cast<float>(Nearest(line[4][1].Y2));
  float last_x = static_cast<float>(Nearest(line[4][1].X2));
  bool gap_open = false;
  for (int c = 2; c <= kColumns; ++c) {
    if (Data.SlotUsed[c] > 0) {
      if (gap_open) {
        SceneLine& bridge = line[5][c];
        bridge.X1 = last_x;
        bridge.Y1 = last_y;
        bridge.X2 = line[2][c].X1;
        bridge.Y2 = line[2][c].Y1;
        bridge.Visible = true;
      }
      last_y = line[4][c].Y2;
      last_x = line[4][c].X2;
      gap_open = false;
    } else {
      gap_open = true;
    }
  }
}

void HideNoDataPointOf(int k) {
  if (!ChartState.ChartControlsLoaded) return;
  auto& line = ChartScene.CurveLine[k];
  for (int c = 1; c <= kColumns; ++c) {
    if (Data.SlotUsed[c] != 0) continue;
    for (int j = 1; j <= 5; ++j) Park(line[j][c], kParkNoData);
  }
}

namespace {
void PlacePoints(int k) {
  auto& line = ChartScene.CurveLine[k];
  auto& point = ChartScene.CurvePoint[k];
  for (int j = 1; j <= 4; ++j) point[j][1].Top = line[j][1].Y2 - 37;
  for (int c = 2; c <= kColumns; ++c) {
    point[1][c].Top = Data.SlotUsed[c - 1] > 0 ? line[1][c].Y2 - 37 : line[2][c].Y1 - 37;
    for (int j = 2; j <= 4; ++j) point[j][c].Top = line[j][c].Y2 - 37;
  }
}

void ShowPoints(int k, bool visible) {
  auto& point = ChartScene.CurvePoint[k];
  for (int c = 1; c <= kColumns; ++c) {
    for (int j = 1; j <= 4; ++j) point[j][c].Visible = visible;
  }
}
}  // namespace

void DispPointOf(int k) {
  if (ChartState.CurveShown[kPointsFlag] != 1) {
    ShowPoints(k, false);
    return;
  }
  ShowPoints(k, true);
  PlacePoints(k);
}

void HideLineOf(int k) {
  auto& line = ChartScene.CurveLine[k];
  for (int c = 1; c <= kColumns; ++c) {
    for (int j = 1; j <= 5; ++j) Park(line[j][c], kParkHidden);
  }
}

void HideAllZeroPointOf(int k) {
  auto& point = ChartScene.CurvePoint[k];
  for (int c = 1; c <= kColumns; ++c) {
    if (!Data.ZeroPointFlag[c]) continue;
    for (int j = 1; j <= 4; ++j) point[j][c].Visible = false;
  }
}

#define ACCELOG_CURVE_FAMILY(S, k)                                                        \
  void DispCurve##S(int32_t start, int32_t end) { DispCurveOf(k, start, end); }           \
  void DispNoDataPoint##S() { DispNoDataPointOf(k); }                                     \
  void HideNoDataPoint##S() { HideNoDataPointOf(k); }                                     \
  void DispPoint##S() { DispPointOf(k); }                                                 \
  void HideLine##S() { HideLineOf(k); }                                                   \
  void HideAllZeroPoint##S() { HideAllZeroPointOf(k); }
ACCELOG_CURVE_FAMILY(X, kCurveX)
ACCELOG_CURVE_FAMILY(Y, kCurveY)
ACCELOG_CURVE_FAMILY(Z, kCurveZ)
ACCELOG_CURVE_FAMILY(V, kCurveV)
ACCELOG_CURVE_FAMILY(AX, kCurveAX)
ACCELOG_CURVE_FAMILY(AY, kCurveAY)
ACCELOG_CURVE_FAMILY(AZ, kCurveAZ)
#undef ACCELOG_CURVE_FAMILY

void DispNoDataPoint() {
  for (int k = 0; k < kCurves; ++k) DispNoDataPointOf(k);
}

void HideNoDataPoint() {
  for (int k = 0; k < kCurves; ++k) HideNoDataPointOf(k);
}

void DispPointALL() {
  for (int k = 0; k < kCurves; ++k) {
    PlacePoints(k);
    ShowPoints(k, true);
  }
}

void HideDispPointAll(int16_t flag) {
  for (int k = 0; k < kCurves; ++k) ShowPoints(k, flag == 1 && ChartState.CurveShown[k] == 1);
}

void CurveCheck_Click(int k, int16_t value) {
  if (k < 0 || k >= kCurves) return;
  ChartScene.Check[k + 1].Value = value;
  if (!ChartState.ChartControlsLoaded || Data.DispEndPoint == 0) return;
  ChartState.CurveShown[k] = value;
  ChartScene.Frame5.Top = 100000;
  if (value == 1) {
    DispCurveOf(k, Data.DispStartPoint, Data.DispEndPoint);
    DispNoDataPointOf(k);
    DispPointOf(k);
  } else {
    HideLineOf(k);
    DispPointOf(k);
  }
  HideAllZeroPoint(Data.DispStartPoint, Data.DispEndPoint);
  ChartScene.Frame5.Top = ChartScene.Frame4.Top;
}

void Check8_Click(int16_t value) {
  ChartScene.Check[8].Value = value;
  if (!ChartState.ChartControlsLoaded || Data.DispEndPoint == 0) return;
  ChartState.CurveShown[kPointsFlag] = value;
  ChartScene.Frame5.Top = 100000;
  HideDispPointAll(value);
  if (value == 1) DispPointALL();
  HideAllZeroPoint(Data.DispStartPoint, Data.DispEndPoint);
  ChartScene.Frame5.Top = ChartScene.Frame4.Top;
}

void DispCurve(int32_t start, int32_t end) {
  if (!ChartState.ChartControlsLoaded) return;
  for (int k = 0; k < kCurves; ++k) HideLineOf(k);
  ChartState.LastDrawStart = start;
  ChartState.LastDrawEnd = end;
  ComputeColumnExtremes();
  for (int k = 0; k < kCurves; ++k) {
    if (ChartState.CurveShown[k] == 1) {
      DispCurveOf(k, start, end);
      DispNoDataPointOf(k);
      HideNoDataPointOf(k);
      DispPointOf(k);
    } else {
      HideLineOf(k);
      DispPointOf(k);
    }
  }
  g_extremes.Valid = false;
  DispXLable();
  ComputeStatistics(start, end);
  DispMaxMin();
  const int64_t count = static_cast<int64_t>(end) - start + 1 - PointAllZero_Long(start, end);
  ChartScene.Text[19].Caption = std::to_string(count);
  HideAllZeroPoint(start, end);
}

void HideAllZeroPoint(int32_t start, int32_t end) {
  ComputeZeroPointFlags(start, end);
  for (int k = 0; k < kCurves; ++k) HideAllZeroPointOf(k);
}

void DispMaxMin() {
  const StatisticsTexts t = DispMaxMinTexts();
  auto& text = ChartScene.Text;
  for (int c = 0; c < 4; ++c) {
    text[1 + c].Caption = t.MaxText[c];
    text[5 + c].Caption = t.MinText[c];
    text[9 + c].Caption = t.AverageText[c];
  }
  for (int c = 0; c < 3; ++c) text[13 + c].Caption = t.CriticalText[c];
  text[16].Caption = t.UnitText;
  text[17].Caption = t.StartText;
  text[18].Caption = t.IntervalText;
  text[19].Caption = t.SampleCountText;
  text[20].Caption = t.RecordModeText;
}

void ClearScreen() {
  const int32_t top = ChartScene.Frame5.Top;
  ChartScene.Frame5.Top = 20000;
  for (int k = 0; k < kCurves; ++k) HideLineOf(k);
  for (int k = 0; k < kCurves; ++k) DispPointOf(k);
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.DispEndPoint = 0;
  ChartScene.Frame5.Top = top;
}

}  // namespace accelog
