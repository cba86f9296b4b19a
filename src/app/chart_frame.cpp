#include "app/chart_frame.h"

#include <cmath>
#include <string>

#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "app/curve_plot.h"
#include "model/conversion.h"
#include "model/state.h"
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

// Statistics panel: four columns of X/Y/Z/V boxes, then two columns of the
// recording's facts and the spectrum peaks; Text24 is the file-name box.
void LayOutStatistics() {
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
  ChartSceneRecord& s = ChartScene;
  for (int i = 1; i <= 24; ++i) {
    const auto [col, row] = cell(i);
    const bool wide = col < 4;
    const int32_t left = 100 + (wide ? col * kWideColumn : 4 * kWideColumn + (col - 4) * kColumnWidth);
    const int32_t caption = wide ? kWideCaption : kCaptionWidth;
    const int32_t box = wide ? kWideBox : kBoxWidth;
    const int32_t top = kRowTop + row * kRowHeight;
    s.StatCaption[i] = Control(kCaptions[i], left, top + 40, caption, kBoxHeight - 40);
    s.Text[i] = Control("", left + caption + 50, top, box, kBoxHeight);
  }
  // The file-name box has no caption and takes its place.
  s.Text[24].Left = s.StatCaption[24].Left;
  s.Text[24].Width += kCaptionWidth + 50;
}

void CreateCurveObjects() {
  ChartSceneRecord& s = ChartScene;
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
void PlaceCurveColumns() {
  ChartSceneRecord& s = ChartScene;
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

}  // namespace

float ColumnX(int c) {
  return static_cast<float>((c - 1) * 50.0 * ChartState.TwipsPerUnitX + 50.0);
}

void FormPictureLoad() {
  ChartSceneRecord& s = ChartScene;
  const double ty = Conv.TwipsPerUnitY;
  s.Width = kWindowWidth;
  s.Height = kWindowHeight;

  if (!ChartState.ChartControlsLoaded) {
    for (int i = 0; i <= 10; ++i) {
      s.LabelY[i] = Control("", 0, 0, 650, 200);
      s.LabelAng[i] = Control("", 0, 0, 700, 200);
      s.LineY[i] = Line(0, 0, 0, 0);
      s.LineZ[i] = Line(0, 0, 0, 0);
      s.LineYFr5[i] = Line(0, 0, 0, 0);
    }
    for (int c = 0; c <= kColumns; ++c) {
      s.LabelX1[c] = Control("", 0, 60, 1000, 220);
      s.LabelX2[c] = Control("", 0, 300, 1000, 220);
      s.LineXFr5[c] = Line(0, 0, 0, 0);
    }
    s.LabelX1[0].Visible = s.LabelX2[0].Visible = false;
    for (int i = 0; i <= 7; ++i) s.LineColor[i] = Line(0, 0, 0, 0);
    s.LineColor[0].Visible = false;
    CreateCurveObjects();
  }

  // Axis ticks and labels: mg on the left, degrees on the right.
  for (int i = 0; i <= 10; ++i) {
    const float y = static_cast<float>((5000 - 500 * i) * ty);
    s.LineY[i].X1 = 1100;
    s.LineY[i].X2 = 1300;
    s.LineZ[i].X1 = 300;  // the tick runs from x 0 to 300
    s.LineZ[i].X2 = 0;
    s.LineY[i].Y1 = s.LineY[i].Y2 = y;
    s.LineZ[i].Y1 = s.LineZ[i].Y2 = y;
    const int32_t top = Nearest(5000 * ty - 500 * i * ty + 50);
    s.LabelY[i].Top = s.LabelAng[i].Top = top;
    s.LabelY[i].Left = static_cast<int32_t>(s.LineY[i].X1) - 700;
    s.LabelAng[i].Left = static_cast<int32_t>(s.LineZ[i].X1) - 300;
  }
  s.Picture1 = Control("", 800, 200, 250, 250);
  s.Picture2 = Control("", 800, ChartState.PlotHeightUnits + 200, 250, 250);
  s.Label26 = Control("Unit:mg", s.Picture1.Left - 800, s.Picture1.Top - 200, 600, 200);
  s.Command2 = Control("Previous ", 100, ChartState.PlotHeightUnits + 700, 1100, 350);

  // Right strip: check boxes in a column, legend lines beside the curve boxes.
  static const char* const kChecks[14] = {"",           "X",            "Y",
                                          "Z",          "Vector Sum",   "X Angle",
                                          "Y Angle",    "Z Angle",      "Disp Point",
                                          "Disp Line X", "Disp Line Y", "Disp Line XY",
                                          "Disp Lock Point", "Disp Frequency"};
  for (int i = 1; i <= 13; ++i) {
    const int16_t value = s.Check[i].Value;
    s.Check[i] = Control(kChecks[i], 800, 600 + 330 * (i - 1), 1700, 280);
    s.Check[i].Value = value;
  }
  // In the row Check12 leaves empty (it is kept out of sight), just above
  // "Disp Frequency".
  const int16_t hann = s.CheckHann.Value;
  s.CheckHann = Control("Hann window", 800, 600 + 330 * 11, 1700, 280);
  s.CheckHann.Value = hann;
  s.Label27 = Control("Unit:degree", s.Check[1].Left, s.Check[1].Top - 250, 1200, 200);
  s.Command1 = Control("All Point", 800, s.Check[13].Top + 420, 1200, 350);
  s.Command3 = Control("Next", 800, s.Command1.Top + 450, 1200, 350);
  for (int i = 1; i <= 7; ++i) {
    const float y = static_cast<float>(s.Check[i].Top + s.Check[i].Height / 2);
    s.LineColor[i] = Line(static_cast<float>(s.Check[i].Left + 1300), y,
                          static_cast<float>(s.Check[i].Left + 1900), y);
  }

  MainFrameInit();

  // Grid.
  for (int i = 0; i <= 10; ++i) {
    const float y = static_cast<float>((5000 - 500 * i) * ty);
    s.LineYFr5[i].X1 = 50;
    s.LineYFr5[i].X2 = static_cast<float>(ChartState.PlotFrameWidth - 50);
    s.LineYFr5[i].Y1 = s.LineYFr5[i].Y2 = y;
  }
  for (int c = 1; c <= kColumns; ++c) {
    SceneLine& l = s.LineXFr5[c];
    l.X1 = l.X2 = ColumnX(c);
    l.Y2 = static_cast<float>(ChartState.PlotFrameHeight - 80);
    l.Y1 = c % 20 == 0 ? 50.0f : l.Y2;
  }
  PlaceCurveColumns();

  // Plot border, cross-hair, lock markers, drag rectangle.
  const float right = static_cast<float>(ChartState.PlotFrameWidth - 50);
  const float bottom = static_cast<float>(ChartState.PlotHeightUnits * ty);
  s.LineLeft = Line(50, 0, 50, bottom);
  s.LineRight = Line(right, 0, right, bottom);
  s.LineUp = Line(50, 0, right, 0);
  s.LineDown = Line(50, bottom, right, bottom);
  s.LineXX = Line(-1000, -1000, -1000, -1000);
  s.LineYY = Line(-1000, -1000, -1000, -1000);
  for (int k = 0; k < kCurves; ++k) s.ShapePointLock[k] = {-1000, -1000, 200, 200, true};
  s.ShapeFrame = {-10000, 0, 10, 10, true};

  // Scroll strip.
  s.Frame100 = Control("", 500, 200, kTrackWidth, kTrackHeight);
  s.Picture100 = Control("", s.Frame100.Left - 300, 200, 300, kTrackHeight);
  s.Picture101 = Control("", s.Frame100.Left + kTrackWidth, 200, 300, kTrackHeight);
  ChartState.ScrollTrackLength = static_cast<int16_t>(s.Frame100.Width);
  s.Line100 = Line(20, 0, 20, kTrackHeight);
  const float end = static_cast<float>(ChartState.ScrollTrackLength - 20);
  s.Line101 = Line(end, 0, end, kTrackHeight);
  s.Label28 = Control("", 220, 100, 1500, 200);
  s.Label29 = Control("", static_cast<int32_t>(end) + 200, 100, 1500, 200);

  // Bottom strip.
  s.ProgressBar1 = Control("", 0, 60, 13100, 220);
  s.ProgressBar1.Visible = false;
  s.Label25 = Control("", 0, 60, 13100, 220);

  LayOutStatistics();

  // Check box states.
  if (!ChartState.ChartControlsLoaded) {
    for (int i = 1; i <= 8; ++i) s.Check[i].Value = ChartState.CurveShown[i - 1];
    s.Check[9].Value = s.Check[10].Value = s.Check[11].Value = s.Check[12].Value = 1;
    s.Check[13].Value = 0;
  }
  s.Check[12].Left = -100000;
  s.CrossHairShown = s.Check[11].Value == 1;
  s.LockPointsShown = s.Check[12].Value == 1;
  ChartState.ChartControlsLoaded = true;

  MainFrameInit();
  ClearText();
}

void MainFrameInit() {
  ChartSceneRecord& s = ChartScene;
  ChartState.PlotFrameWidth =
      Clamp16(Nearest(ChartState.PlotWidthUnits * static_cast<double>(ChartState.TwipsPerUnitX) + 100));
  ChartState.PlotFrameHeight =
      Clamp16(Nearest(ChartState.PlotHeightUnits * static_cast<double>(Conv.TwipsPerUnitY) + 100));
  const int32_t W = s.Width, H = s.Height;

  auto frame = [](SceneControl& f, int32_t left, int32_t top, int32_t width, int32_t height) {
    Place(f, left, top, width, height);
    f.Visible = true;
  };
  frame(s.Frame1, 0, 0, W, 2000);
  frame(s.Frame10, (s.Frame1.Width - 18000) / 2, 0, 18000, 2000);
  frame(s.Frame2, 50, s.Frame1.Height, W - 100, H - s.Frame1.Height - 100);
  frame(s.Frame3, 100, 120, s.Frame2.Width - 200, s.Frame2.Height - 200);

  s.Frame4.Top = 100;
  s.Frame5.Top = s.Frame6.Top = s.Frame4.Top;
  s.Frame4.Height = s.Frame6.Height = s.Frame3.Height;
  s.Frame5.Height = ChartState.PlotFrameHeight + 100;
  s.Frame5.Width = ChartState.PlotFrameWidth;
  s.Frame5.Left = (s.Frame3.Width - s.Frame5.Width) / 2 - 1000;
  s.Frame4.Left = 0;
  s.Frame4.Width = s.Frame5.Left;
  s.Frame6.Left = s.Frame5.Left + s.Frame5.Width - 20;
  s.Frame6.Width = s.Frame3.Width - s.Frame5.Left - s.Frame5.Width;

  s.Frame7.Width = s.Frame5.Width + 1000;
  s.Frame8.Width = s.Frame9.Width = s.Frame5.Width;
  s.Frame7.Left = s.Frame8.Left = s.Frame9.Left = s.Frame5.Left;
  s.Frame7.Height = 600;
  s.Frame8.Height = 750;
  s.Frame9.Height = s.Frame3.Height - s.Frame5.Height - 600 - 750 + 100;
  s.Frame7.Top = s.Frame5.Top + s.Frame5.Height;
  s.Frame8.Top = s.Frame7.Top + 600;
  s.Frame9.Top = s.Frame8.Top + 750;
  for (SceneControl* f : {&s.Frame4, &s.Frame5, &s.Frame6, &s.Frame7, &s.Frame8, &s.Frame9}) f->Visible = true;
}

void DispLeftLableY() {
  // Int(100 / AccelScale). The scale is 500 / R for a whole R, so the
  // quotient is R / 5; the margin keeps single-precision rounding
  // (179.99998 for R = 900) from taking a whole step off every label.
  const double q = 100.0 / static_cast<double>(Conv.AccelScale);
  const long long step = static_cast<long long>(std::floor(q + 1e-3));
  for (int i = 5; i <= 10; ++i) ChartScene.LabelY[i].Caption = std::to_string((i - 5) * step);
  for (int i = 4; i >= 0; --i) ChartScene.LabelY[i].Caption = std::to_string((i - 5) * step);
}

void DispRightLableAngl() {
  for (int i = 0; i <= 10; ++i) {
    ChartScene.LabelAng[i].Caption = NumberText(static_cast<long long>(ChartState.AngleLabelBase + 20 * i));
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

RealDataRecord SlotRecord(int c) {
  int32_t p = Data.SlotPoint[c];
  if (p < 0 || p > kMaxRecords) p = 0;
  return Data.RealData[p];
}

void ShowLabels(int c, std::string time, std::string date) {
  ChartSceneRecord& s = ChartScene;
  const int32_t x = Nearest(ChartScene.LineXFr5[c].X1);
  s.LabelX1[c].Caption = std::move(time);
  s.LabelX2[c].Caption = std::move(date);
  s.LabelX1[c].Left = s.LabelX2[c].Left = x;
  s.LabelX1[c].Visible = s.LabelX2[c].Visible = true;
}

void HideLabels(int c) { ChartScene.LabelX1[c].Visible = ChartScene.LabelX2[c].Visible = false; }

void DispTimeLabels() {
  const ChartSceneRecord& s = ChartScene;
  {
    const RealDataRecord& r = SlotRecord(1);
    ShowLabels(1, Padded(r.TimeText, sizeof r.TimeText), Padded(r.DateText, sizeof r.DateText));
  }
  float last = s.LineXFr5[1].X1;
  for (int c = 2; c <= 199; ++c) {
    if (Data.SlotUsed[c] < 1) {
      HideLabels(c);
      continue;
    }
    const float x = s.LineXFr5[c].X1;
    if (x >= last + 1000.0f) {
      const RealDataRecord& r = SlotRecord(c);
      ShowLabels(c, RemoveBlanks(r.Time()), RemoveBlanks(r.Date()));
      last = x;
    } else {
      HideLabels(c);
    }
  }
  if (Data.MenuCommandCode == MenuOperation::LiveData) return;  // the live run keeps column 200's labels
  const RealDataRecord& r = SlotRecord(kColumns);
  ShowLabels(kColumns, RemoveBlanks(r.Time()), RemoveBlanks(r.Date()));
  for (int c = kColumns - 1; c >= 1; --c) {
    if (!s.LabelX1[c].Visible) continue;
    if (s.LabelX1[kColumns].Left - s.LabelX1[c].Left < 500) HideLabels(c);
    break;
  }
}

void DispFrequencyLabels() {
  const ChartSceneRecord& s = ChartScene;
  ShowLabels(1, std::to_string(Data.DispStartPoint) + " Hz", "");
  float last = s.LineXFr5[1].X1;
  for (int c = 2; c <= kColumns; ++c) {
    const float x = s.LineXFr5[c].X1;
    if (Data.SlotUsed[c] > 0 && x >= last + 500.0f) {
      ShowLabels(c, std::to_string(Data.SlotPoint[c]) + " Hz", "");
      last = x;
    } else {
      HideLabels(c);
    }
  }
}

}  // namespace

void DispXLable() {
  if (Data.FrequencyView) {
    DispFrequencyLabels();
  } else {
    DispTimeLabels();
  }
}

void ClearText() {
  for (int i = 1; i <= 23; ++i) ChartScene.Text[i].Caption.clear();
  DispLeftLableY();
  DispRightLableAngl();
  for (int c = 1; c <= kColumns; ++c) {
    ChartScene.LabelX1[c].Caption.clear();
    ChartScene.LabelX2[c].Caption.clear();
  }
}

void Check9_Click(int16_t value) {
  ChartScene.Check[9].Value = value;
  if (!ChartState.ChartControlsLoaded) return;
  for (int i = 1; i <= 10; ++i) ChartScene.LineYFr5[i].Visible = value == 1;
}

void Check10_Click(int16_t value) {
  ChartScene.Check[10].Value = value;
  if (!ChartState.ChartControlsLoaded) return;
  for (int c = 1; c <= kColumns; ++c) ChartScene.LineXFr5[c].Visible = value == 1;
}

namespace {
void Pan(float delta_mg) {
  const MenuOperation op = Data.MenuCommandCode;
  if (op != MenuOperation::LiveData && op != MenuOperation::LiveSpectrum && op != MenuOperation::DataView) return;
  Conv.AccelRangeLow += delta_mg;
  Conv.AccelRangeLowInt = Nearest(Conv.AccelRangeLow);
  Conv.AccelOffset = Clamp16(Nearest(Conv.AccelRangeLowInt * 5.0 * Conv.AccelScale));
  DispLeftLableY();
  ChartScene.Frame5.Top = 100000;
  DispCurve(Data.DispStartPoint, Data.DispEndPoint);
  ChartScene.Frame5.Top = ChartScene.Frame4.Top;
}
}  // namespace

void Picture1_Click() { Pan(-100.0f); }
void Picture2_Click() { Pan(100.0f); }

}  // namespace accelog
