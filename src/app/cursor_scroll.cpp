#include "app/cursor_scroll.h"

#include <cmath>
#include <cstdlib>

#include "app/chart_frame.h"
#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "app/curve_plot.h"
#include "model/conversion.h"
#include "model/state.h"
#include "model/text_util.h"

namespace accelog {

namespace {

int32_t Nearest(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

double ColumnWidth() { return 50.0 * static_cast<double>(ChartState.TwipsPerUnitX); }

void MoveLine(SceneLine& l, float x) { l.X1 = l.X2 = x; }

// Redraw sequence: plot frame out of view, DispCurve over the window, back.
void Redraw() {
  ChartScene.Frame5.Top = 100000;
  DispCurve(Data.DispStartPoint, Data.DispEndPoint);
  ChartScene.Frame5.Top = ChartScene.Frame4.Top;
}

void NewWindow() {
  MapRangeToSlots(Data.DispStartPoint, Data.DispEndPoint);
  Redraw();
}

void FollowMarkers() {
  ChartScene.Label28.Left = Nearest(ChartScene.Line100.X1 + 200);
  ChartScene.Label29.Left = Nearest(ChartScene.Line101.X1 + 200);
}

void ShowWindowNumbers() {
  ChartScene.Label28.Caption = std::to_string(Data.DispStartPoint);
  ChartScene.Label29.Caption = std::to_string(Data.DispEndPoint);
}

}  // namespace

std::string LockReadOutText(int32_t p) {
  if (p < 0 || p > kMaxRecords) p = 0;
  const RealDataRecord& r = Data.RealData[p];
  std::string text = "No: " + std::to_string(p) + "   ";
  for (char ch : r.DateText) text += ch == '\0' ? ' ' : ch;
  text += ' ';
  for (char ch : r.TimeText) text += ch == '\0' ? ' ' : ch;
  static const char* const kLabels[kCurves] = {"X:",       "Y:",       "Z:",      "Vector Sum:",
                                               "X Angle:", "Y Angle:", "Z Angle:"};
  const float values[kCurves] = {r.X, r.Y, r.Z, r.V, r.AX, r.AY, r.AZ};
  for (int k = 0; k < kCurves; ++k) text += std::string(" ") + kLabels[k] + FloatText(values[k]);
  return text;
}

void DispLockPoint(int16_t column) {
  if (column < 1 || column > kColumns) return;
  if (!(Data.DataLoaded || Data.FrequencyFileLoaded)) return;
  if (Data.SlotUsed[column] <= 0 || ChartState.CursorLocked) return;
  const int32_t p = Data.SlotPoint[column];
  for (int k = 0; k < kCurves; ++k) {
    SceneShape& lock = ChartScene.ShapePointLock[k];
    if (ChartState.CurveShown[k] == 1) {
      const SceneLine& segment = ChartScene.CurveLine[k][2][column];
      lock.Left = segment.X1 - 100;
      lock.Top = segment.Y1 - 100;
    } else {
      lock.Left = -1000;
    }
  }
  // A spectrum file stays in view after its MenuCommandCode 15 went back to
  // 0, and its lines are frequencies all that time.
  if ((Data.MenuCommandCode == MenuOperation::FrequencyView || Data.FrequencyFileLoaded) && Data.FrequencyView) {
    ChartScene.Label25.Caption = "Frequency = " + std::to_string(p) + "  HZ";
  } else {
    ChartScene.Label25.Caption = LockReadOutText(p);
  }
}

void HideLockPoint() {
  for (SceneShape& lock : ChartScene.ShapePointLock) lock.Left = -1000;
}

void HideLineXXLineYY() {
  ChartScene.LineXX = {-1000, -1000, -1000, -1000, ChartScene.LineXX.Visible};
  ChartScene.LineYY = {-1000, -1000, -1000, -1000, ChartScene.LineYY.Visible};
  if (!ChartState.CursorLocked) HideLockPoint();
}

void HsrollToChangPosition() {
  const double count = Data.CountPoint;
  float start = 0.0f, end = 1.0f;
  if (Data.DispStartPoint != 1 && count > 0) start = static_cast<float>(Data.DispStartPoint / count);
  if (Data.DispEndPoint != Data.CountPoint && count > 0) end = static_cast<float>(Data.DispEndPoint / count);
  ChartState.ScrollStartFraction = start;
  ChartState.ScrollEndFraction = end;
  const double length = ChartState.ScrollTrackLength;
  MoveLine(ChartScene.Line100, static_cast<float>(length * start + 20));
  MoveLine(ChartScene.Line101, static_cast<float>(length * end - 20));
  FollowMarkers();
  ShowWindowNumbers();
}

void HsrollChangPosition() {
  const double length = ChartState.ScrollTrackLength > 0 ? ChartState.ScrollTrackLength : 1;
  ChartState.ScrollStartFraction = static_cast<float>((ChartScene.Line100.X1 - 20) / length);
  ChartState.ScrollEndFraction = static_cast<float>((ChartScene.Line101.X1 + 20) / length);
  const double count = Data.CountPoint;
  int32_t start = Nearest(count * ChartState.ScrollStartFraction);
  int32_t end = Nearest(count * ChartState.ScrollEndFraction + 1);
  if (start < 1) start = 1;
  if (end > Data.CountPoint) end = Data.CountPoint;
  // Markers dragged together past a track end would give a window that
  // ends before it starts or lies beyond the data.
  if (start > Data.CountPoint) start = Data.CountPoint > 0 ? Data.CountPoint : 1;
  if (end < start) end = start;
  Data.DispStartPoint = start;
  Data.DispEndPoint = end;
}

void PlotMouseMove(float x, float y) {
  ChartSceneRecord& s = ChartScene;
  s.LineXX.X1 = s.LineLeft.X1;
  s.LineXX.X2 = s.LineRight.X1;
  s.LineXX.Y1 = s.LineXX.Y2 = y;
  s.LineYY.X1 = s.LineYY.X2 = x;
  s.LineYY.Y1 = s.LineUp.Y1;
  s.LineYY.Y2 = s.LineDown.Y1;
  if (!ChartState.CursorLocked) {
    double column = std::floor(x / ColumnWidth());
    if (column < 1) column = 1;
    if (column > kColumns) column = kColumns;
    ChartState.CursorColumn = static_cast<int16_t>(column);
    DispLockPoint(ChartState.CursorColumn);
  }
  if (ChartState.RubberBandActive) {
    s.ShapeFrame.Left = ChartState.RubberBandX;
    s.ShapeFrame.Top = ChartState.RubberBandY;
    if (x - ChartState.RubberBandX > 5) s.ShapeFrame.Width = x - ChartState.RubberBandX;
    if (y - ChartState.RubberBandY > 5) s.ShapeFrame.Height = y - ChartState.RubberBandY;
  }
}

void PlotMouseDown(float x, float y) {
  ChartState.RubberBandActive = true;
  ChartState.RubberBandX = x;
  ChartState.RubberBandY = y;
}

void PlotMouseUp(float x, float /*y*/) {
  // A release ends a drag only after a press on the plot (the release after a
  // double click follows no press of its own).
  const bool dragging = ChartState.RubberBandActive;
  ChartState.RubberBandActive = false;
  const bool long_drag = dragging && x - ChartState.RubberBandX > 100;
  if (long_drag && Data.DataLoaded) {
    const double width = ColumnWidth();
    int32_t first = static_cast<int32_t>(std::floor(ChartState.RubberBandX / width));
    int32_t last = static_cast<int32_t>(std::floor(x / width));
    if (first < 1) first = 1;
    if (first > kColumns) first = kColumns;
    if (last > kColumns) last = kColumns;
    if (last < 1) last = 1;
    for (int c = first; c >= 1; --c) {
      if (Data.SlotUsed[c] > 0) {
        first = c;
        break;
      }
    }
    for (int c = last; c <= kColumns; ++c) {
      if (Data.SlotUsed[c] > 0) {
        last = c;
        break;
      }
    }
    ChartState.ZoomFirstColumn = first;
    ChartState.ZoomLastColumn = last;
    int32_t start = Data.SlotPoint[first];
    int32_t end = Data.SlotPoint[last];
    // An empty column holds no point number: keep the window inside the data.
    if (start < 1) start = 1;
    if (end < start) end = start;
    Data.DispStartPoint = start;
    Data.DispEndPoint = end;
    HsrollToChangPosition();
    MapRangeToSlots(Data.DispStartPoint, Data.DispEndPoint);
    HideLockPoint();
    Redraw();
  }
  if (long_drag && !Data.DataLoaded) return;  // the rectangle stays where it was drawn
  ChartScene.ShapeFrame = {-10000, ChartScene.ShapeFrame.Top, 10, 10, ChartScene.ShapeFrame.Visible};
}

void PlotDoubleClick() {
  ChartState.CursorLocked = !ChartState.CursorLocked; }

void OtherFrameMouseMove() { HideLineXXLineYY(); }

void TrackMouseDown(float x) {
  ChartState.ScrollDragging = true;
  ChartState.ScrollDragX = static_cast<int16_t>(Nearest(x));
  ChartState.ScrollStartX0 = static_cast<int16_t>(Nearest(ChartScene.Line100.X1));
  ChartState.ScrollEndX0 = static_cast<int16_t>(Nearest(ChartScene.Line101.X1));
  ChartState.ScrollDragMode = 0;
  if (std::fabs(ChartScene.Line100.X1 - x) < 20) ChartState.ScrollDragMode = 1;
  if (std::fabs(ChartScene.Line101.X1 - x) < 20) ChartState.ScrollDragMode = 2;
}

bool TrackMouseMove(float x) {
  if (!Data.DataLoaded) return false;
  SceneLine& start = ChartScene.Line100;
  SceneLine& end = ChartScene.Line101;
  const bool near = std::fabs(start.X1 - x) < 20 || std::fabs(end.X1 - x) < 20;
  if (!ChartState.ScrollDragging) return near;
  switch (ChartState.ScrollDragMode) {
    case 1:
      if (x - 10 < end.X1) MoveLine(start, x);
      break;
    case 2:
      if (x + 10 > start.X1) MoveLine(end, x);
      break;
    default:
      if (x != ChartState.ScrollDragX) {
        const float d = x - ChartState.ScrollDragX;
        MoveLine(start, ChartState.ScrollStartX0 + d);
        MoveLine(end, ChartState.ScrollEndX0 + d);
        if (start.X1 < 0) MoveLine(start, 20);
        if (end.X1 > ChartState.ScrollTrackLength) MoveLine(end, ChartState.ScrollTrackLength - 20.0f);
      }
      break;
  }
  FollowMarkers();
  HsrollChangPosition();
  ShowWindowNumbers();
  return near;
}

void TrackMouseUp(float /*x*/) {
  // Only the end of a drag: the release after a double click is none.
  if (!ChartState.ScrollDragging) return;
  ChartState.ScrollDragging = false;
  if (!Data.DataLoaded) return;
  const bool moved = Nearest(ChartScene.Line100.X1) != ChartState.ScrollStartX0 ||
                     Nearest(ChartScene.Line101.X1) != ChartState.ScrollEndX0;
  if (!moved) return;
  HsrollChangPosition();
  NewWindow();
}

namespace {
void WidenLeft() {
  Data.DispStartPoint = Data.DispStartPoint - 50 < 1 ? 1 : Data.DispStartPoint - 50;
}
void WidenRight() {
  Data.DispEndPoint = Data.DispEndPoint + 50 > Data.CountPoint ? Data.CountPoint : Data.DispEndPoint + 50;
}
}  // namespace

void TrackDoubleClick() {
  if (!Data.DataLoaded) return;
  WidenLeft();
  WidenRight();
  HsrollToChangPosition();
  NewWindow();
}

void Picture100_Click() {
  if (!Data.DataLoaded) return;
  WidenLeft();
  HsrollToChangPosition();
  NewWindow();
}

void Picture101_Click() {
  if (!Data.DataLoaded) return;
  WidenRight();
  HsrollToChangPosition();
  NewWindow();
}

void Command1_Click() {
  if (!ChartState.ChartControlsLoaded || !Data.DataLoaded) return;
  Data.DispStartPoint = 1;
  Data.DispEndPoint = Data.CountPoint;
  HsrollToChangPosition();
  MapRangeToSlots(Data.DispStartPoint, Data.DispEndPoint);
  HideLockPoint();
  Redraw();
  const int32_t zero = PointAllZero_Long(Data.DispStartPoint, Data.DispEndPoint);
  ChartScene.Text[19].Caption = std::to_string(Data.DispEndPoint - Data.DispStartPoint + 1 - zero);
  HideAllZeroPoint(Data.DispStartPoint, Data.DispEndPoint);
}

void Check11_Click(int16_t value) {
  ChartScene.Check[11].Value = value;
  ChartScene.CrossHairShown = value == 1;
}

void Check12_Click(int16_t value) {
  ChartScene.Check[12].Value = value;
  ChartScene.LockPointsShown = value == 1;
}

void Check13_Click(int16_t value) {
  ChartSceneRecord& s = ChartScene;
  s.Check[13].Value = value;
  if (!ChartState.ChartControlsLoaded) return;
  if (!(Data.FrequencyFileLoaded || Data.MenuCommandCode == MenuOperation::LiveSpectrum)) return;
  const bool ticked = value == 1;
  Data.FrequencyView = ticked;
  s.Label26.Visible = !ticked;
  ClearText();
  const int16_t spectrum[8] = {1, 1, 1, 0, 0, 0, 0, 1};
  const int16_t time[8] = {1, 1, 1, 1, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) {
    ChartState.CurveShown[i] = ticked ? spectrum[i] : time[i];
    s.Check[i + 1].Enabled = !ticked || i <= kCurveZ || i == kPointsFlag;
    s.Check[i + 1].Value = ChartState.CurveShown[i];
  }
  if (!Data.FrequencyFileLoaded) return;
  if (ticked) {
    ChartState.SavedAccelOffset = Conv.AccelOffset;
    Conv.AccelOffset = 0;
    if (ChartState.DispFrequency) ChartState.DispFrequency();
    Conv.AccelOffset = ChartState.SavedAccelOffset;
  } else if (ChartState.DispFrequencyData) {
    ChartState.DispFrequencyData();
  }
  DispMaxMin();
}

}  // namespace accelog
