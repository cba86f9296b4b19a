#include "app/chart_fixture.h"
#include "app/cursor_scroll.h"

namespace accelog::testing {
namespace {

class CursorScrollTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    FillPoints(Flat(1000));
    Data.RealData.SetSample(496, 3, 10, 256);  // column 100's first point: X 11.7, with decimals
    Show(1, 1000);
    HsrollToChangPosition();
  }
  static float ColumnMouseX(int c) { return static_cast<float>(c * 65 + 10); }
  static float StartMarker() { return ChartScene.Line100.X1; }
  static float EndMarker() { return ChartScene.Line101.X1; }
  static std::pair<int32_t, int32_t> Shown() { return {Data.DispStartPoint, Data.DispEndPoint}; }
};

TEST_F(CursorScrollTest, ReadOutOfTheColumnUnderTheMouse) {
  const std::string expected = std::string("No: 1   7/5/2013   9:5:7    X:0 Y:39 Z:998.4 Vector Sum:") +
                               FloatText(Data.RealData[1].V) + " X Angle:0 Y Angle:" +
                               FloatText(Data.RealData[1].AY) + " Z Angle:" + FloatText(Data.RealData[1].AZ);
  PlotMouseMove(10, 300);  // left of the first column: column 1
  EXPECT_EQ(ChartState.CursorColumn, 1);
  EXPECT_EQ(ChartScene.Label25.Caption, expected);

  PlotMouseMove(20000, 300);  // right of the last column: column 200
  EXPECT_EQ(ChartState.CursorColumn, 200);
  EXPECT_EQ(ChartScene.Label25.Caption.rfind("No: 996 ", 0), 0u);  // its first point
  PlotMouseMove(ColumnMouseX(100), 300);
  EXPECT_NE(ChartScene.Label25.Caption.find("X:11.7 "), std::string::npos);
  Data.MenuCommandCode = MenuOperation::FrequencyView;  // the spectrum view reads out the column's frequency
  Data.FrequencyView = true;
  DispLockPoint(1);
  EXPECT_EQ(ChartScene.Label25.Caption, "Frequency = 1  HZ");
}

TEST_F(CursorScrollTest, EmptyColumnsAndTheLockKeepTheReadOut) {
  PlotMouseMove(ColumnMouseX(10), 100);
  const std::string shown = ChartScene.Label25.Caption;
  PlotDoubleClick();
  PlotMouseMove(ColumnMouseX(150), 400);
  EXPECT_EQ(ChartScene.Label25.Caption, shown);
  const float lock_left = ChartScene.ShapePointLock[kCurveX].Left;
  OtherFrameMouseMove();  // leaving the plot hides only the cross-hair
  EXPECT_FLOAT_EQ(ChartScene.LineXX.X1, -1000);
  EXPECT_FLOAT_EQ(ChartScene.ShapePointLock[kCurveX].Left, lock_left);

  Show(1, 20);  // few points: most columns empty
  PlotMouseMove(ColumnMouseX(1), 100);
  const std::string first = ChartScene.Label25.Caption;
  ASSERT_EQ(Data.SlotUsed[3], 0);
  PlotMouseMove(ColumnMouseX(3), 100);
  EXPECT_EQ(ChartScene.Label25.Caption, first);
}

TEST_F(CursorScrollTest, DragZoomSearchesColumnsWithPoints) {
  Show(1, 40);  // columns 1..200 partly empty
  int first = 60, last = 120;
  while (Data.SlotUsed[first] == 0) --first;
  while (Data.SlotUsed[last] == 0) ++last;
  const int32_t start = Data.SlotPoint[first], end = Data.SlotPoint[last];
  PlotMouseDown(ColumnMouseX(60), 100);
  PlotMouseMove(ColumnMouseX(120), 900);
  PlotMouseUp(ColumnMouseX(120), 900);
  EXPECT_EQ(Shown(), std::pair(start, end));
  EXPECT_EQ(Data.SlotPoint[1], start);  // the window was redistributed
}

TEST_F(CursorScrollTest, ShortOrLeftwardDragsZoomNothing) {
  for (float to : {ColumnMouseX(50) + 100, ColumnMouseX(20)}) {
    PlotMouseDown(ColumnMouseX(50), 100);
    PlotMouseMove(to, 600);
    PlotMouseUp(to, 600);
    EXPECT_EQ(Data.DispEndPoint, 1000);
  }
  // A release with no press before it (after a double click) is no drag.
  PlotMouseUp(ColumnMouseX(150), 600);
  EXPECT_EQ(Data.DispEndPoint, 1000);
}

TEST_F(CursorScrollTest, MarkerDragsStayOnTheTrackAndApart) {
  Data.DispStartPoint = 100, Data.DispEndPoint = 200;
  HsrollToChangPosition();
  const float end = EndMarker();
  TrackMouseDown(StartMarker() + 5);
  EXPECT_EQ(ChartState.ScrollDragMode, 1);
  TrackMouseMove(end + 9);
  EXPECT_FLOAT_EQ(StartMarker(), end + 9);
  TrackMouseMove(end + 10);  // x - 10 reached the end marker: it stays
  EXPECT_FLOAT_EQ(StartMarker(), end + 9);
  EXPECT_LT(Data.DispStartPoint, Data.DispEndPoint);
  EXPECT_EQ(Data.SlotPoint[1], 1);  // no redraw during the drag
  TrackMouseUp(end + 10);
  // Dragging both markers keeps them on the track.
  Data.DispStartPoint = 100, Data.DispEndPoint = 300;
  HsrollToChangPosition();
  const float mid = (StartMarker() + EndMarker()) / 2;
  TrackMouseDown(mid);
  TrackMouseMove(mid - 5000);
  EXPECT_FLOAT_EQ(StartMarker(), 20);
  TrackMouseMove(mid + 20000);
  EXPECT_FLOAT_EQ(EndMarker(), ChartState.ScrollTrackLength - 20);
  TrackMouseUp(mid + 20000);
  EXPECT_EQ(Data.DispEndPoint, 1000);
}

TEST_F(CursorScrollTest, DoubleClickArrowsAndAllPoint) {
  TrackDoubleClick();  // at both ends already: nothing to widen
  EXPECT_EQ(Shown(), std::pair(1, 1000));
  Data.DispStartPoint = 30, Data.DispEndPoint = 400;
  TrackDoubleClick();
  EXPECT_EQ(Shown(), std::pair(1, 450));
  Data.DispStartPoint = 120;
  Picture100_Click();
  EXPECT_EQ(Data.DispStartPoint, 70);

  for (int i = 10; i < 15; ++i) Data.RealData.SetSample(i, 0, 0, 0);
  Command1_Click();
  EXPECT_EQ(Shown(), std::pair(1, 1000));
  EXPECT_EQ(ChartScene.Text[19].Caption, "995");
}

TEST_F(CursorScrollTest, FrequencyBoxTogglesTheSpectrum) {
  // Not a spectrum file and no live spectrum: only the box changes.
  Check13_Click(1);
  EXPECT_FALSE(Data.FrequencyView);

  static std::vector<int16_t> offsets_drawn_at;  // one per spectrum drawn
  offsets_drawn_at.clear();
  ChartState.DispFrequency = [] { offsets_drawn_at.push_back(Conv.AccelOffset); };
  Data.FrequencyFileLoaded = true;
  Check13_Click(1);
  EXPECT_TRUE(Data.FrequencyView);
  EXPECT_EQ(offsets_drawn_at, std::vector<int16_t>{0});
  EXPECT_EQ(Conv.AccelOffset, -2500);
  EXPECT_FALSE(ChartScene.Check[4].Enabled);
  Check13_Click(0);
  EXPECT_EQ(ChartState.CurveShown[kCurveV], 1);
  EXPECT_TRUE(ChartScene.Check[4].Enabled);
}

}  // namespace
}  // namespace accelog::testing
