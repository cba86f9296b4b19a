#include "app/chart.h"

#include <cmath>
#include <string>

#include "model/conversion.h"
#include "model/dataset.h"

namespace accelog {

namespace {

double Nearest(double v) { return std::nearbyint(v); }

// Curve k's plot position of point p; a point never placed lies at 0.
inline double Field(int k, const PlotColumns& c, int32_t p) {
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

}  // namespace

double Chart::CurveBase(int k) const {
  const double offset = k <= kCurveV ? scale.AccelOffset : state.AngleOffset;
  return offset * scale.TwipsPerUnitY;
}

// Points of column c, kept inside the table.
bool Chart::ColumnPoints(int c, int32_t& first, int32_t& count) const {
  count = data_.SlotUsed[c];
  first = data_.SlotPoint[c];
  if (count <= 0) return false;
  if (first < 1) first = 1;
  if (first > kMaxRecords) return false;
  if (count > kMaxRecords - first + 1) count = kMaxRecords - first + 1;
  return true;
}

// Smallest and largest plot field of every column with five or more points,
// for all seven curves in one pass over the points (Draw fills it so the
// seven curves do not each walk the whole window).
struct Chart::ColumnExtremes {
  double Min[kCurves][kColumns + 1];
  double Max[kCurves][kColumns + 1];
  bool Valid;
};

Chart::Chart(Dataset& data)
    : data_(data), conv_(data.Stats), extremes_(std::make_unique<ColumnExtremes>()) {}
Chart::~Chart() = default;

void Chart::ComputeColumnExtremes() {
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
        const double f = Field(k, data_.Plot, p);
        if (f < mn[k]) mn[k] = f;
        if (f > mx[k]) mx[k] = f;
      }
    }
    for (int k = 0; k < kCurves; ++k) {
      extremes_->Min[k][c] = mn[k];
      extremes_->Max[k][c] = mx[k];
    }
  }
  extremes_->Valid = true;
}

void Chart::ColumnExtreme(int k, int c, int32_t s, int32_t n, double& mn, double& mx) const {
  if (extremes_->Valid) {
    mn = extremes_->Min[k][c];
    mx = extremes_->Max[k][c];
    return;
  }
  mn = 1000000.0;
  mx = -1000000.0;
  for (int32_t p = s; p < s + n; ++p) {
    const double f = Field(k, data_.Plot, p);
    if (f < mn) mn = f;
    if (f > mx) mx = f;
  }
}

namespace {
void Park(SceneLine& l, float y) { l.Y1 = l.Y2 = y; }
}  // namespace

int32_t Chart::CurveColumnX(int c) const {
  return static_cast<int32_t>(Nearest((c - 1) * 50.0 * state.TwipsPerUnitX + 50.0));
}

double Chart::CurveY(int k, int32_t p) const {
  if (p < 0 || p > kMaxRecords) p = 0;
  return CurveBase(k) + Field(k, data_.Plot, p);
}

void Chart::DrawCurve(int k, int32_t start) {
  auto& line = scene.CurveLine[k];
  const double base = CurveBase(k);
  auto y = [&](int32_t p) { return static_cast<float>(base + Field(k, data_.Plot, p)); };
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

void Chart::BridgeEmptyColumns(int k) {
  auto& line = scene.CurveLine[k];
  float last_y = static_cast<float>(Nearest(line[4][1].Y2));
  float last_x = static_cast<float>(Nearest(line[4][1].X2));
  bool gap_open = false;
  for (int c = 2; c <= kColumns; ++c) {
    if (data_.SlotUsed[c] > 0) {
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

void Chart::ParkEmptyColumns(int k) {
  if (!state.ChartControlsLoaded) return;
  auto& line = scene.CurveLine[k];
  for (int c = 1; c <= kColumns; ++c) {
    if (data_.SlotUsed[c] != 0) continue;
    for (int j = 1; j <= 5; ++j) Park(line[j][c], kParkNoData);
  }
}

void Chart::PlaceMarkerTops(int k) {
  auto& line = scene.CurveLine[k];
  auto& point = scene.CurvePoint[k];
  for (int j = 1; j <= 4; ++j) point[j][1].Top = line[j][1].Y2 - 37;
  for (int c = 2; c <= kColumns; ++c) {
    point[1][c].Top = data_.SlotUsed[c - 1] > 0 ? line[1][c].Y2 - 37 : line[2][c].Y1 - 37;
    for (int j = 2; j <= 4; ++j) point[j][c].Top = line[j][c].Y2 - 37;
  }
}

void Chart::ShowMarkers(int k, bool visible) {
  auto& point = scene.CurvePoint[k];
  for (int c = 1; c <= kColumns; ++c) {
    for (int j = 1; j <= 4; ++j) point[j][c].Visible = visible;
  }
}

void Chart::PlaceMarkers(int k) {
  if (state.CurveShown[kPointsFlag] != 1) {
    ShowMarkers(k, false);
    return;
  }
  ShowMarkers(k, true);
  PlaceMarkerTops(k);
}

void Chart::HideCurve(int k) {
  auto& line = scene.CurveLine[k];
  for (int c = 1; c <= kColumns; ++c) {
    for (int j = 1; j <= 5; ++j) Park(line[j][c], kParkHidden);
  }
}

void Chart::HideZeroMarkers(int k) {
  auto& point = scene.CurvePoint[k];
  for (int c = 1; c <= kColumns; ++c) {
    if (!data_.ZeroPointFlag[c]) continue;
    for (int j = 1; j <= 4; ++j) point[j][c].Visible = false;
  }
}


void Chart::ShowAllMarkers() {
  for (int k = 0; k < kCurves; ++k) {
    PlaceMarkerTops(k);
    ShowMarkers(k, true);
  }
}

void Chart::ShowMarkersOfShownCurves(int16_t flag) {
  for (int k = 0; k < kCurves; ++k) ShowMarkers(k, flag == 1 && state.CurveShown[k] == 1);
}

void Chart::SetCurveShown(int k, int16_t value) {
  if (k < 0 || k >= kCurves) return;
  scene.CheckBox[k + 1].Value = value;
  if (!state.ChartControlsLoaded || data_.DispEndPoint == 0) return;
  state.CurveShown[k] = value;
  scene.PlotFrame.Top = 100000;
  if (value == 1) {
    DrawCurve(k, data_.DispStartPoint);
    BridgeEmptyColumns(k);
    PlaceMarkers(k);
  } else {
    HideCurve(k);
    PlaceMarkers(k);
  }
  HideZeroPoints(data_.DispStartPoint, data_.DispEndPoint);
  scene.PlotFrame.Top = scene.LeftStrip.Top;
}

void Chart::SetPointsShown(int16_t value) {
  scene.CheckBox[kPointsBox].Value = value;
  if (!state.ChartControlsLoaded || data_.DispEndPoint == 0) return;
  state.CurveShown[kPointsFlag] = value;
  scene.PlotFrame.Top = 100000;
  ShowMarkersOfShownCurves(value);
  if (value == 1) ShowAllMarkers();
  HideZeroPoints(data_.DispStartPoint, data_.DispEndPoint);
  scene.PlotFrame.Top = scene.LeftStrip.Top;
}

void Chart::Draw(int32_t start, int32_t end) {
  if (!state.ChartControlsLoaded) return;
  for (int k = 0; k < kCurves; ++k) HideCurve(k);
  state.LastDrawStart = start;
  state.LastDrawEnd = end;
  ComputeColumnExtremes();
  for (int k = 0; k < kCurves; ++k) {
    if (state.CurveShown[k] == 1) {
      DrawCurve(k, start);
      BridgeEmptyColumns(k);
      ParkEmptyColumns(k);
      PlaceMarkers(k);
    } else {
      HideCurve(k);
      PlaceMarkers(k);
    }
  }
  extremes_->Valid = false;
  LabelTimeAxis();
  data_.ComputeStatistics(start, end);
  ShowStatistics();
  const int64_t count = static_cast<int64_t>(end) - start + 1 - data_.CountZeroPoints(start, end);
  scene.StatBox[19].Caption = std::to_string(count);
  HideZeroPoints(start, end);
}

void Chart::HideZeroPoints(int32_t start, int32_t end) {
  data_.ComputeZeroPointFlags(start, end);
  for (int k = 0; k < kCurves; ++k) HideZeroMarkers(k);
}

void Chart::ShowStatistics() {
  const StatisticsTexts t = data_.StatisticsBoxTexts();
  auto& text = scene.StatBox;
  for (int c = 0; c < 4; ++c) {
    text[kMaxBox + c].Caption = t.MaxText[c];
    text[kMinBox + c].Caption = t.MinText[c];
    text[kAverageBox + c].Caption = t.AverageText[c];
  }
  for (int c = 0; c < 3; ++c) text[kThresholdBox + c].Caption = t.CriticalText[c];
  text[kUnitBox].Caption = t.UnitText;
  text[kStartTimeBox].Caption = t.StartText;
  text[kIntervalBox].Caption = t.IntervalText;
  text[kPointCountBox].Caption = t.SampleCountText;
  text[kModeBox].Caption = t.RecordModeText;
}

void Chart::DrawOutOfSight(int32_t start, int32_t end) {
  scene.PlotFrame.Top = 100000;
  Draw(start, end);
  scene.PlotFrame.Top = scene.LeftStrip.Top;
}

void Chart::ClearPlot() {
  const int32_t top = scene.PlotFrame.Top;
  scene.PlotFrame.Top = 20000;
  for (int k = 0; k < kCurves; ++k) HideCurve(k);
  for (int k = 0; k < kCurves; ++k) PlaceMarkers(k);
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.DispEndPoint = 0;
  scene.PlotFrame.Top = top;
}

}  // namespace accelog
