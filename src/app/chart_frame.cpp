#include "app/chart.h"

#include <cmath>
#include <string>

#include "model/conversion.h"
#include "model/dataset.h"
#include "model/text_util.h"

namespace accelog {

namespace {

constexpr int32_t kWindowWidth = 18000;
constexpr int32_t kWindowHeight = 9400;
constexpr int32_t kTrackWidth = 12000;
constexpr int32_t kTrackHeight = 400;

int32_t Nearest(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

int16_t Clamp16(int32_t v) {
  if (v > 32767) return 32767;
  if (v < -32768) return -32768;
  return static_cast<int16_t>(v);
}

void Place(SceneControl& c, int32_t left, int32_t top, int32_t width, int32_t height) {
  c.Left = left;
  c.Top = top;
  c.Width = width;
  c.Height = height;
}

SceneControl Control(const char* caption, int32_t left, int32_t top, int32_t width, int32_t height) {
  SceneControl c{};
  c.Caption = caption;
  Place(c, left, top, width, height);
  c.Enabled = true;
  c.Visible = true;
  return c;
}

SceneLine Line(float x1, float y1, float x2, float y2) { return {x1, y1, x2, y2, true}; }

}  // namespace

// Statistics panel: four columns of X/Y/Z/V boxes, then two columns of the
// recording's facts and the spectrum peaks; the last box holds the file name.
void Chart::LayOutStatistics() {
  static const char* const kCaptions[25] = {
      "",          "Max X",        "Max Y",   "Max Z", "Vector Sum Max", "Min",
      "Min",       "Min",          "Min",     "Average", "Average",      "Average",
      "Average",   "X Threshold",  "Y Threshold", "Z Threshold", "Unite", "Start Time",
      "Samping rate", "Samples",   "Mode",    "X Max HZ", "Y Max HZ",    "Z Max HZ", ""};
  // X/Y/Z/V columns are wide enough for "value   date time".
  constexpr int32_t kWideCaption = 1150, kWideBox = 1850, kWideColumn = 3100;
  constexpr int32_t kCaptionWidth = 1000, kBoxWidth = 1500, kColumnWidth = 2600;
  constexpr int32_t kRowTop = 200, kRowHeight = 430, kBoxHeight = 330;
  auto cell = [](int i) -> std::pair<int, int> {  // column, row
    if (i <= 12) return {(i - 1) % 4, (i - 1) / 4};
    if (i <= 16) return {i - 13, 3};
    if (i <= 20) return {4, i - 17};
    return {5, i - 21};
  };
  ChartSceneRecord& s = scene;
  for (int i = 1; i <= 24; ++i) {
    const auto [col, row] = cell(i);
    const bool wide = col < 4;
    const int32_t left = 100 + (wide ? col * kWideColumn : 4 * kWideColumn + (col - 4) * kColumnWidth);
    const int32_t caption = wide ? kWideCaption : kCaptionWidth;
    const int32_t box = wide ? kWideBox : kBoxWidth;
    const int32_t top = kRowTop + row * kRowHeight;
    s.StatCaption[i] = Control(kCaptions[i], left, top + 40, caption, kBoxHeight - 40);
    s.StatBox[i] = Control("", left + caption + 50, top, box, kBoxHeight);
  }
  // The file-name box has no caption and takes its place.
  s.StatBox[24].Left = s.StatCaption[24].Left;
  s.StatBox[24].Width += kCaptionWidth + 50;
}

void Chart::CreateCurveObjects() {
  ChartSceneRecord& s = scene;
  for (int k = 0; k < kCurves; ++k) {
    for (int c = 1; c <= kColumns; ++c) {
      for (int j = 1; j <= 5; ++j) {
        SceneLine& l = s.CurveLine[k][j][c];
        l.Y1 = l.Y2 = kParkHidden;
        l.Visible = true;
      }
      for (int j = 1; j <= 4; ++j) {
        SceneShape& m = s.CurvePoint[k][j][c];
        m.Top = kParkHidden - 37;
        m.Visible = true;
      }
    }
  }
}

// X positions of the curve objects never change after the load.
void Chart::PlaceCurveColumns() {
  ChartSceneRecord& s = scene;
  for (int k = 0; k < kCurves; ++k) {
    for (int c = 1; c <= kColumns; ++c) {
      const float x = static_cast<float>(CurveColumnX(c));
      const float before = static_cast<float>(CurveColumnX(c > 1 ? c - 1 : 1));
      s.CurveLine[k][1][c].X1 = before;
      s.CurveLine[k][1][c].X2 = x;
      for (int j = 2; j <= 4; ++j) s.CurveLine[k][j][c].X1 = s.CurveLine[k][j][c].X2 = x;
      for (int j = 1; j <= 4; ++j) {
        SceneShape& m = s.CurvePoint[k][j][c];
        m.Left = static_cast<float>(Nearest(x - 37.5));
        m.Width = m.Height = 75;
      }
    }
  }
}

float Chart::ColumnX(int c) const {
  return static_cast<float>((c - 1) * 50.0 * state.TwipsPerUnitX + 50.0);
}

void Chart::LoadWindow() {
  ChartSceneRecord& s = scene;
  const double ty = scale.TwipsPerUnitY;
  s.Width = kWindowWidth;
  s.Height = kWindowHeight;

  if (!state.ChartControlsLoaded) {
    for (int i = 0; i <= 10; ++i) {
      s.AccelLabel[i] = Control("", 0, 0, 650, 200);
      s.AngleLabel[i] = Control("", 0, 0, 700, 200);
      s.AccelTick[i] = Line(0, 0, 0, 0);
      s.AngleTick[i] = Line(0, 0, 0, 0);
      s.HorizontalGrid[i] = Line(0, 0, 0, 0);
    }
    for (int c = 0; c <= kColumns; ++c) {
      s.TimeLabel[c] = Control("", 0, 60, 1000, 220);
      s.DateLabel[c] = Control("", 0, 300, 1000, 220);
      s.VerticalGrid[c] = Line(0, 0, 0, 0);
    }
    s.TimeLabel[0].Visible = s.DateLabel[0].Visible = false;
    for (int i = 0; i <= 7; ++i) s.LegendLine[i] = Line(0, 0, 0, 0);
    s.LegendLine[0].Visible = false;
    CreateCurveObjects();
  }

  // Axis ticks and labels: mg on the left, degrees on the right.
  for (int i = 0; i <= 10; ++i) {
    const float y = static_cast<float>((5000 - 500 * i) * ty);
    s.AccelTick[i].X1 = 1100;
    s.AccelTick[i].X2 = 1300;
    s.AngleTick[i].X1 = 300;  // the tick runs from x 0 to 300
    s.AngleTick[i].X2 = 0;
    s.AccelTick[i].Y1 = s.AccelTick[i].Y2 = y;
    s.AngleTick[i].Y1 = s.AngleTick[i].Y2 = y;
    const int32_t top = Nearest(5000 * ty - 500 * i * ty + 50);
    s.AccelLabel[i].Top = s.AngleLabel[i].Top = top;
    s.AccelLabel[i].Left = static_cast<int32_t>(s.AccelTick[i].X1) - 700;
    s.AngleLabel[i].Left = static_cast<int32_t>(s.AngleTick[i].X1) - 300;
  }
  s.PanUpArrow = Control("", 800, 200, 250, 250);
  s.PanDownArrow = Control("", 800, state.PlotHeightUnits + 200, 250, 250);
  s.AccelUnitLabel = Control("Unit:mg", s.PanUpArrow.Left - 800, s.PanUpArrow.Top - 200, 600, 200);
  s.PreviousButton = Control("Previous ", 100, state.PlotHeightUnits + 700, 1100, 350);

  // Right strip: check boxes in a column, legend lines beside the curve boxes.
  static const char* const kChecks[14] = {"",           "X",            "Y",
                                          "Z",          "Vector Sum",   "X Angle",
                                          "Y Angle",    "Z Angle",      "Disp Point",
                                          "Disp Line X", "Disp Line Y", "Disp Line XY",
                                          "Disp Lock Point", "Disp Frequency"};
  for (int i = 1; i <= 13; ++i) {
    const int16_t value = s.CheckBox[i].Value;
    s.CheckBox[i] = Control(kChecks[i], 800, 600 + 330 * (i - 1), 1700, 280);
    s.CheckBox[i].Value = value;
  }
  // In the row the lock-points box leaves empty (it is kept out of sight), just above
  // "Disp Frequency".
  const int16_t hann = s.HannBox.Value;
  s.HannBox = Control("Hann window", 800, 600 + 330 * 11, 1700, 280);
  s.HannBox.Value = hann;
  s.AngleUnitLabel = Control("Unit:degree", s.CheckBox[1].Left, s.CheckBox[1].Top - 250, 1200, 200);
  s.AllPointsButton = Control("All Point", 800, s.CheckBox[kSpectrumBox].Top + 420, 1200, 350);
  s.NextButton = Control("Next", 800, s.AllPointsButton.Top + 450, 1200, 350);
  const int16_t remove_mean = s.RemoveMeanBox.Value, hz = s.HzBox.Value;
  s.RemoveMeanBox = Control("Remove mean", 800, s.NextButton.Top + 450, 1700, 280);
  s.HzBox = Control("Frequency in Hz", 800, s.RemoveMeanBox.Top + 330, 2300, 280);
  s.RemoveMeanBox.Value = remove_mean;
  s.HzBox.Value = hz;
  for (int i = 1; i <= 7; ++i) {
    const float y = static_cast<float>(s.CheckBox[i].Top + s.CheckBox[i].Height / 2);
    s.LegendLine[i] = Line(static_cast<float>(s.CheckBox[i].Left + 1300), y,
                          static_cast<float>(s.CheckBox[i].Left + 1900), y);
  }

  LayOutFrames();

  // Grid.
  for (int i = 0; i <= 10; ++i) {
    const float y = static_cast<float>((5000 - 500 * i) * ty);
    s.HorizontalGrid[i].X1 = 50;
    s.HorizontalGrid[i].X2 = static_cast<float>(state.PlotFrameWidth - 50);
    s.HorizontalGrid[i].Y1 = s.HorizontalGrid[i].Y2 = y;
  }
  for (int c = 1; c <= kColumns; ++c) {
    SceneLine& l = s.VerticalGrid[c];
    l.X1 = l.X2 = ColumnX(c);
    l.Y2 = static_cast<float>(state.PlotFrameHeight - 80);
    l.Y1 = c % 20 == 0 ? 50.0f : l.Y2;
  }
  PlaceCurveColumns();

  // Plot border, cross-hair, lock markers, drag rectangle.
  const float right = static_cast<float>(state.PlotFrameWidth - 50);
  const float bottom = static_cast<float>(state.PlotHeightUnits * ty);
  s.LineLeft = Line(50, 0, 50, bottom);
  s.LineRight = Line(right, 0, right, bottom);
  s.LineUp = Line(50, 0, right, 0);
  s.LineDown = Line(50, bottom, right, bottom);
  s.CrossHairH = Line(-1000, -1000, -1000, -1000);
  s.CrossHairV = Line(-1000, -1000, -1000, -1000);
  for (int k = 0; k < kCurves; ++k) s.LockMarker[k] = {-1000, -1000, 200, 200, true};
  s.DragRectangle = {-10000, 0, 10, 10, true};

  // Scroll strip.
  s.ScrollTrack = Control("", 500, 200, kTrackWidth, kTrackHeight);
  s.ScrollLeftArrow = Control("", s.ScrollTrack.Left - 300, 200, 300, kTrackHeight);
  s.ScrollRightArrow = Control("", s.ScrollTrack.Left + kTrackWidth, 200, 300, kTrackHeight);
  state.ScrollTrackLength = static_cast<int16_t>(s.ScrollTrack.Width);
  s.ScrollStartMarker = Line(20, 0, 20, kTrackHeight);
  const float end = static_cast<float>(state.ScrollTrackLength - 20);
  s.ScrollEndMarker = Line(end, 0, end, kTrackHeight);
  s.ScrollStartLabel = Control("", 220, 100, 1500, 200);
  s.ScrollEndLabel = Control("", static_cast<int32_t>(end) + 200, 100, 1500, 200);

  // Bottom strip.
  s.ProgressBar = Control("", 0, 60, 13100, 220);
  s.ProgressBar.Visible = false;
  s.ReadOut = Control("", 0, 60, 13100, 220);

  LayOutStatistics();

  // Check box states.
  if (!state.ChartControlsLoaded) {
    for (int i = 1; i <= 8; ++i) s.CheckBox[i].Value = state.CurveShown[i - 1];
    s.CheckBox[kHorizontalGridBox].Value = s.CheckBox[kVerticalGridBox].Value = s.CheckBox[kCrossHairBox].Value = s.CheckBox[kLockPointsBox].Value = 1;
    s.CheckBox[kSpectrumBox].Value = 0;
  }
  s.CheckBox[kLockPointsBox].Left = -100000;
  s.CrossHairShown = s.CheckBox[kCrossHairBox].Value == 1;
  s.LockPointsShown = s.CheckBox[kLockPointsBox].Value == 1;
  state.ChartControlsLoaded = true;

  LayOutFrames();
  ClearTexts();
}

void Chart::LayOutFrames() {
  ChartSceneRecord& s = scene;
  state.PlotFrameWidth =
      Clamp16(Nearest(state.PlotWidthUnits * static_cast<double>(state.TwipsPerUnitX) + 100));
  state.PlotFrameHeight =
      Clamp16(Nearest(state.PlotHeightUnits * static_cast<double>(scale.TwipsPerUnitY) + 100));
  const int32_t W = s.Width, H = s.Height;

  auto frame = [](SceneControl& f, int32_t left, int32_t top, int32_t width, int32_t height) {
    Place(f, left, top, width, height);
    f.Visible = true;
  };
  frame(s.StatisticsPanel, 0, 0, W, 2000);
  frame(s.StatisticsColumns, (s.StatisticsPanel.Width - 18000) / 2, 0, 18000, 2000);
  frame(s.OuterBorder, 50, s.StatisticsPanel.Height, W - 100, H - s.StatisticsPanel.Height - 100);
  frame(s.InnerBorder, 100, 120, s.OuterBorder.Width - 200, s.OuterBorder.Height - 200);

  s.LeftStrip.Top = 100;
  s.PlotFrame.Top = s.RightStrip.Top = s.LeftStrip.Top;
  s.LeftStrip.Height = s.RightStrip.Height = s.InnerBorder.Height;
  s.PlotFrame.Height = state.PlotFrameHeight + 100;
  s.PlotFrame.Width = state.PlotFrameWidth;
  s.PlotFrame.Left = (s.InnerBorder.Width - s.PlotFrame.Width) / 2 - 1000;
  s.LeftStrip.Left = 0;
  s.LeftStrip.Width = s.PlotFrame.Left;
  s.RightStrip.Left = s.PlotFrame.Left + s.PlotFrame.Width - 20;
  s.RightStrip.Width = s.InnerBorder.Width - s.PlotFrame.Left - s.PlotFrame.Width;

  s.TimeLabelStrip.Width = s.PlotFrame.Width + 1000;
  s.ScrollStrip.Width = s.BottomStrip.Width = s.PlotFrame.Width;
  s.TimeLabelStrip.Left = s.ScrollStrip.Left = s.BottomStrip.Left = s.PlotFrame.Left;
  s.TimeLabelStrip.Height = 600;
  s.ScrollStrip.Height = 750;
  s.BottomStrip.Height = s.InnerBorder.Height - s.PlotFrame.Height - 600 - 750 + 100;
  s.TimeLabelStrip.Top = s.PlotFrame.Top + s.PlotFrame.Height;
  s.ScrollStrip.Top = s.TimeLabelStrip.Top + 600;
  s.BottomStrip.Top = s.ScrollStrip.Top + 750;
  for (SceneControl* f : {&s.LeftStrip, &s.PlotFrame, &s.RightStrip, &s.TimeLabelStrip, &s.ScrollStrip, &s.BottomStrip}) f->Visible = true;
}

void Chart::LabelAccelAxis() {
  // Int(100 / AccelScale). The scale is 500 / R for a whole R, so the
  // quotient is R / 5; the margin keeps single-precision rounding
  // (179.99998 for R = 900) from taking a whole step off every label.
  const double q = 100.0 / static_cast<double>(scale.AccelScale);
  const long long step = static_cast<long long>(std::floor(q + 1e-3));
  for (int i = 5; i <= 10; ++i) scene.AccelLabel[i].Caption = std::to_string((i - 5) * step);
  for (int i = 4; i >= 0; --i) scene.AccelLabel[i].Caption = std::to_string((i - 5) * step);
}

void Chart::LabelAngleAxis() {
  for (int i = 0; i <= 10; ++i) {
    scene.AngleLabel[i].Caption = NumberText(static_cast<long long>(state.AngleLabelBase + 20 * i));
  }
}

namespace {

std::string Padded(const char* text, size_t width) {
  std::string s(text, width);
  for (char& ch : s) {
    if (ch == '\0') ch = ' ';
  }
  return s;
}

}  // namespace

RealDataRecord Chart::SlotRecord(int c) const {
  int32_t p = data_.SlotPoint[c];
  if (p < 0 || p > kMaxRecords) p = 0;
  return data_.RealData[p];
}

void Chart::ShowLabels(int c, std::string time, std::string date) {
  ChartSceneRecord& s = scene;
  const int32_t x = Nearest(scene.VerticalGrid[c].X1);
  s.TimeLabel[c].Caption = std::move(time);
  s.DateLabel[c].Caption = std::move(date);
  s.TimeLabel[c].Left = s.DateLabel[c].Left = x;
  s.TimeLabel[c].Visible = s.DateLabel[c].Visible = true;
}

void Chart::HideLabels(int c) { scene.TimeLabel[c].Visible = scene.DateLabel[c].Visible = false; }

void Chart::LabelTimes() {
  const ChartSceneRecord& s = scene;
  {
    const RealDataRecord& r = SlotRecord(1);
    ShowLabels(1, Padded(r.TimeText, sizeof r.TimeText), Padded(r.DateText, sizeof r.DateText));
  }
  float last = s.VerticalGrid[1].X1;
  for (int c = 2; c <= 199; ++c) {
    if (data_.SlotUsed[c] < 1) {
      HideLabels(c);
      continue;
    }
    const float x = s.VerticalGrid[c].X1;
    if (x >= last + 1000.0f) {
      const RealDataRecord& r = SlotRecord(c);
      ShowLabels(c, RemoveBlanks(r.Time()), RemoveBlanks(r.Date()));
      last = x;
    } else {
      HideLabels(c);
    }
  }
  if (data_.MenuCommandCode == MenuOperation::LiveData) return;  // the live run keeps column 200's labels
  const RealDataRecord& r = SlotRecord(kColumns);
  ShowLabels(kColumns, RemoveBlanks(r.Time()), RemoveBlanks(r.Date()));
  for (int c = kColumns - 1; c >= 1; --c) {
    if (!s.TimeLabel[c].Visible) continue;
    if (s.TimeLabel[kColumns].Left - s.TimeLabel[c].Left < 500) HideLabels(c);
    break;
  }
}

void Chart::LabelFrequencies() {
  const ChartSceneRecord& s = scene;
  ShowLabels(1, LineText(data_.DispStartPoint) + " Hz", "");
  float last = s.VerticalGrid[1].X1;
  const float gap = s.HzBox.Value == 1 ? 1000.0f : 500.0f;  // "0.3906 Hz" is wider than "102 Hz"
  for (int c = 2; c <= kColumns; ++c) {
    const float x = s.VerticalGrid[c].X1;
    if (data_.SlotUsed[c] > 0 && x >= last + gap) {
      ShowLabels(c, LineText(data_.SlotPoint[c]) + " Hz", "");
      last = x;
    } else {
      HideLabels(c);
    }
  }
}

void Chart::LabelTimeAxis() {
  if (data_.FrequencyView) {
    LabelFrequencies();
  } else {
    LabelTimes();
  }
}

void Chart::ClearTexts() {
  for (int i = 1; i <= 23; ++i) scene.StatBox[i].Caption.clear();
  LabelAccelAxis();
  LabelAngleAxis();
  for (int c = 1; c <= kColumns; ++c) {
    scene.TimeLabel[c].Caption.clear();
    scene.DateLabel[c].Caption.clear();
  }
}

void Chart::ShowHorizontalGrid(int16_t value) {
  scene.CheckBox[kHorizontalGridBox].Value = value;
  if (!state.ChartControlsLoaded) return;
  for (int i = 1; i <= 10; ++i) scene.HorizontalGrid[i].Visible = value == 1;
}

void Chart::ShowVerticalGrid(int16_t value) {
  scene.CheckBox[kVerticalGridBox].Value = value;
  if (!state.ChartControlsLoaded) return;
  for (int c = 1; c <= kColumns; ++c) scene.VerticalGrid[c].Visible = value == 1;
}

void Chart::Pan(float delta_mg) {
  const MenuOperation op = data_.MenuCommandCode;
  if (op != MenuOperation::LiveData && op != MenuOperation::LiveSpectrum && op != MenuOperation::DataView) return;
  scale.AccelRangeLow += delta_mg;
  scale.AccelRangeLowInt = Nearest(scale.AccelRangeLow);
  scale.AccelOffset = Clamp16(Nearest(scale.AccelRangeLowInt * 5.0 * scale.AccelScale));
  LabelAccelAxis();
  DrawOutOfSight(data_.DispStartPoint, data_.DispEndPoint);
}

void Chart::PanDown() { Pan(-100.0f); }
void Chart::PanUp() { Pan(100.0f); }

}  // namespace accelog
