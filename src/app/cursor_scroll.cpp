#include "app/chart.h"

#include <cmath>
#include <cstdlib>

#include "model/conversion.h"
#include "model/dataset.h"
#include "model/text_util.h"

namespace accelog {

namespace {

int32_t Nearest(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

void MoveLine(SceneLine& l, float x) { l.X1 = l.X2 = x; }

}  // namespace

double Chart::ColumnWidth() const { return 50.0 * static_cast<double>(state.TwipsPerUnitX); }

void Chart::NewWindow() {
  data_.MapRangeToSlots(data_.DispStartPoint, data_.DispEndPoint);
  DrawOutOfSight(data_.DispStartPoint, data_.DispEndPoint);
}

void Chart::FollowMarkers() {
  scene.ScrollStartLabel.Left = Nearest(scene.ScrollStartMarker.X1 + 200);
  scene.ScrollEndLabel.Left = Nearest(scene.ScrollEndMarker.X1 + 200);
}

void Chart::ShowWindowNumbers() {
  scene.ScrollStartLabel.Caption = std::to_string(data_.DispStartPoint);
  scene.ScrollEndLabel.Caption = std::to_string(data_.DispEndPoint);
}

std::string Chart::LockReadOutText(int32_t p) const {
  if (p < 0 || p > kMaxRecords) p = 0;
  const RealDataRecord& r = data_.RealData[p];
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

void Chart::ShowReadOut(int16_t column) {
  if (column < 1 || column > kColumns) return;
  if (!(data_.DataLoaded || data_.FrequencyFileLoaded)) return;
  if (data_.SlotUsed[column] <= 0 || state.CursorLocked) return;
  const int32_t p = data_.SlotPoint[column];
  for (int k = 0; k < kCurves; ++k) {
    SceneShape& lock = scene.LockMarker[k];
    if (state.CurveShown[k] == 1) {
      const SceneLine& segment = scene.CurveLine[k][2][column];
      lock.Left = segment.X1 - 100;
      lock.Top = segment.Y1 - 100;
    } else {
      lock.Left = -1000;
    }
  }
  // A spectrum file stays in view after its opening operation ended, and
  // its lines are frequencies all that time.
  if ((data_.MenuCommandCode == MenuOperation::FrequencyView || data_.FrequencyFileLoaded) && data_.FrequencyView) {
    scene.ReadOut.Caption = "Frequency = " + LineText(p) + "  HZ";
  } else {
    scene.ReadOut.Caption = LockReadOutText(p);
  }
}

void Chart::HideLockMarkers() {
  for (SceneShape& lock : scene.LockMarker) lock.Left = -1000;
}

void Chart::HideCrossHair() {
  scene.CrossHairH = {-1000, -1000, -1000, -1000, scene.CrossHairH.Visible};
  scene.CrossHairV = {-1000, -1000, -1000, -1000, scene.CrossHairV.Visible};
  if (!state.CursorLocked) HideLockMarkers();
}

void Chart::PlaceScrollMarkers() {
  const double count = data_.CountPoint;
  float start = 0.0f, end = 1.0f;
  if (data_.DispStartPoint != 1 && count > 0) start = static_cast<float>(data_.DispStartPoint / count);
  if (data_.DispEndPoint != data_.CountPoint && count > 0) end = static_cast<float>(data_.DispEndPoint / count);
  state.ScrollStartFraction = start;
  state.ScrollEndFraction = end;
  const double length = state.ScrollTrackLength;
  MoveLine(scene.ScrollStartMarker, static_cast<float>(length * start + 20));
  MoveLine(scene.ScrollEndMarker, static_cast<float>(length * end - 20));
  FollowMarkers();
  ShowWindowNumbers();
}

void Chart::WindowFromScrollMarkers() {
  const double length = state.ScrollTrackLength > 0 ? state.ScrollTrackLength : 1;
  state.ScrollStartFraction = static_cast<float>((scene.ScrollStartMarker.X1 - 20) / length);
  state.ScrollEndFraction = static_cast<float>((scene.ScrollEndMarker.X1 + 20) / length);
  const double count = data_.CountPoint;
  int32_t start = Nearest(count * state.ScrollStartFraction);
  int32_t end = Nearest(count * state.ScrollEndFraction + 1);
  if (start < 1) start = 1;
  if (end > data_.CountPoint) end = data_.CountPoint;
  // Markers dragged together past a track end would give a window that
  // ends before it starts or lies beyond the data.
  if (start > data_.CountPoint) start = data_.CountPoint > 0 ? data_.CountPoint : 1;
  if (end < start) end = start;
  data_.DispStartPoint = start;
  data_.DispEndPoint = end;
}

void Chart::PlotMouseMove(float x, float y) {
  ChartSceneRecord& s = scene;
  s.CrossHairH.X1 = s.LineLeft.X1;
  s.CrossHairH.X2 = s.LineRight.X1;
  s.CrossHairH.Y1 = s.CrossHairH.Y2 = y;
  s.CrossHairV.X1 = s.CrossHairV.X2 = x;
  s.CrossHairV.Y1 = s.LineUp.Y1;
  s.CrossHairV.Y2 = s.LineDown.Y1;
  if (!state.CursorLocked) {
    double column = std::floor(x / ColumnWidth());
    if (column < 1) column = 1;
    if (column > kColumns) column = kColumns;
    state.CursorColumn = static_cast<int16_t>(column);
    ShowReadOut(state.CursorColumn);
  }
  if (state.RubberBandActive) {
    s.DragRectangle.Left = state.RubberBandX;
    s.DragRectangle.Top = state.RubberBandY;
    if (x - state.RubberBandX > 5) s.DragRectangle.Width = x - state.RubberBandX;
    if (y - state.RubberBandY > 5) s.DragRectangle.Height = y - state.RubberBandY;
  }
}

void Chart::PlotMouseDown(float x, float y) {
  state.RubberBandActive = true;
  state.RubberBandX = x;
  state.RubberBandY = y;
}

void Chart::PlotMouseUp(float x, float /*y*/) {
  // A release ends a drag only after a press on the plot (the release after a
  // double click follows no press of its own).
  const bool dragging = state.RubberBandActive;
  state.RubberBandActive = false;
  const bool long_drag = dragging && x - state.RubberBandX > 100;
  if (long_drag && data_.DataLoaded) {
    const double width = ColumnWidth();
    int32_t first = static_cast<int32_t>(std::floor(state.RubberBandX / width));
    int32_t last = static_cast<int32_t>(std::floor(x / width));
    if (first < 1) first = 1;
    if (first > kColumns) first = kColumns;
    if (last > kColumns) last = kColumns;
    if (last < 1) last = 1;
    for (int c = first; c >= 1; --c) {
      if (data_.SlotUsed[c] > 0) {
        first = c;
        break;
      }
    }
    for (int c = last; c <= kColumns; ++c) {
      if (data_.SlotUsed[c] > 0) {
        last = c;
        break;
      }
    }
    state.ZoomFirstColumn = first;
    state.ZoomLastColumn = last;
    int32_t start = data_.SlotPoint[first];
    int32_t end = data_.SlotPoint[last];
    // An empty column holds no point number: keep the window inside the data.
    if (start < 1) start = 1;
    if (end < start) end = start;
    data_.DispStartPoint = start;
    data_.DispEndPoint = end;
    PlaceScrollMarkers();
    data_.MapRangeToSlots(data_.DispStartPoint, data_.DispEndPoint);
    HideLockMarkers();
    DrawOutOfSight(data_.DispStartPoint, data_.DispEndPoint);
  }
  if (long_drag && !data_.DataLoaded) return;  // the rectangle stays where it was drawn
  scene.DragRectangle = {-10000, scene.DragRectangle.Top, 10, 10, scene.DragRectangle.Visible};
}

void Chart::PlotDoubleClick() { state.CursorLocked = !state.CursorLocked; }

void Chart::OtherFrameMouseMove() { HideCrossHair(); }

void Chart::TrackMouseDown(float x) {
  state.ScrollDragging = true;
  state.ScrollDragX = static_cast<int16_t>(Nearest(x));
  state.ScrollStartX0 = static_cast<int16_t>(Nearest(scene.ScrollStartMarker.X1));
  state.ScrollEndX0 = static_cast<int16_t>(Nearest(scene.ScrollEndMarker.X1));
  state.ScrollDragMode = ScrollDrag::BothMarkers;
  if (std::fabs(scene.ScrollStartMarker.X1 - x) < 20) state.ScrollDragMode = ScrollDrag::StartMarker;
  if (std::fabs(scene.ScrollEndMarker.X1 - x) < 20) state.ScrollDragMode = ScrollDrag::EndMarker;
}

bool Chart::TrackMouseMove(float x) {
  if (!data_.DataLoaded) return false;
  SceneLine& start = scene.ScrollStartMarker;
  SceneLine& end = scene.ScrollEndMarker;
  const bool near = std::fabs(start.X1 - x) < 20 || std::fabs(end.X1 - x) < 20;
  if (!state.ScrollDragging) return near;
  switch (state.ScrollDragMode) {
    case ScrollDrag::StartMarker:
      if (x - 10 < end.X1) MoveLine(start, x);
      break;
    case ScrollDrag::EndMarker:
      if (x + 10 > start.X1) MoveLine(end, x);
      break;
    default:
      if (x != state.ScrollDragX) {
        const float d = x - state.ScrollDragX;
        MoveLine(start, state.ScrollStartX0 + d);
        MoveLine(end, state.ScrollEndX0 + d);
        if (start.X1 < 0) MoveLine(start, 20);
        if (end.X1 > state.ScrollTrackLength) MoveLine(end, state.ScrollTrackLength - 20.0f);
      }
      break;
  }
  FollowMarkers();
  WindowFromScrollMarkers();
  ShowWindowNumbers();
  return near;
}

void Chart::TrackMouseUp(float /*x*/) {
  // Only the end of a drag: the release after a double click is none.
  if (!state.ScrollDragging) return;
  state.ScrollDragging = false;
  if (!data_.DataLoaded) return;
  const bool moved = Nearest(scene.ScrollStartMarker.X1) != state.ScrollStartX0 ||
                     Nearest(scene.ScrollEndMarker.X1) != state.ScrollEndX0;
  if (!moved) return;
  WindowFromScrollMarkers();
  NewWindow();
}

namespace {
// 50 points more on one side of the shown window, or both, within the data.
void Widen(Dataset& data, bool left, bool right) {
  if (left) data.DispStartPoint = data.DispStartPoint - 50 < 1 ? 1 : data.DispStartPoint - 50;
  if (right) data.DispEndPoint = data.DispEndPoint + 50 > data.CountPoint ? data.CountPoint : data.DispEndPoint + 50;
}
}  // namespace

void Chart::TrackDoubleClick() {
  if (!data_.DataLoaded) return;
  Widen(data_, true, true);
  PlaceScrollMarkers();
  NewWindow();
}

void Chart::ExtendWindowLeft() {
  if (!data_.DataLoaded) return;
  Widen(data_, true, false);
  PlaceScrollMarkers();
  NewWindow();
}

void Chart::ExtendWindowRight() {
  if (!data_.DataLoaded) return;
  Widen(data_, false, true);
  PlaceScrollMarkers();
  NewWindow();
}

void Chart::ShowAllPoints() {
  if (!state.ChartControlsLoaded || !data_.DataLoaded) return;
  data_.DispStartPoint = 1;
  data_.DispEndPoint = data_.CountPoint;
  PlaceScrollMarkers();
  data_.MapRangeToSlots(data_.DispStartPoint, data_.DispEndPoint);
  HideLockMarkers();
  DrawOutOfSight(data_.DispStartPoint, data_.DispEndPoint);
  const int32_t zero = data_.CountZeroPoints(data_.DispStartPoint, data_.DispEndPoint);
  scene.StatBox[kPointCountBox].Caption = std::to_string(data_.DispEndPoint - data_.DispStartPoint + 1 - zero);
  HideZeroPoints(data_.DispStartPoint, data_.DispEndPoint);
}

void Chart::ShowCrossHair(int16_t value) {
  scene.CheckBox[kCrossHairBox].Value = value;
  scene.CrossHairShown = value == 1;
}

void Chart::ShowLockedPoints(int16_t value) {
  scene.CheckBox[kLockPointsBox].Value = value;
  scene.LockPointsShown = value == 1;
}

void Chart::ShowSpectrumView(int16_t value) {
  ChartSceneRecord& s = scene;
  s.CheckBox[kSpectrumBox].Value = value;
  if (!state.ChartControlsLoaded) return;
  if (!(data_.FrequencyFileLoaded || data_.MenuCommandCode == MenuOperation::LiveSpectrum)) return;
  const bool ticked = value == 1;
  data_.FrequencyView = ticked;
  s.AccelUnitLabel.Visible = !ticked;
  ClearTexts();
  const int16_t spectrum[8] = {1, 1, 1, 0, 0, 0, 0, 1};
  const int16_t time[8] = {1, 1, 1, 1, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) {
    state.CurveShown[i] = ticked ? spectrum[i] : time[i];
    s.CheckBox[i + 1].Enabled = !ticked || i <= kCurveZ || i == kPointsFlag;
    s.CheckBox[i + 1].Value = state.CurveShown[i];
  }
  if (!data_.FrequencyFileLoaded) return;
  if (ticked) {
    ShowSpectraUnshifted();
  } else {
    ShowSpectrumSamples();
  }
  ShowStatistics();
}

}  // namespace accelog
