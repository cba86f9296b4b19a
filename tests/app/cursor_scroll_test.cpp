#include "app/chart_fixture.h"

namespace accelog::testing {
namespace {

class CursorScrollTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    FillPoints(Flat(1000));
    data_.RealData.SetSample(496, 3, 10, 256);  // column 100's first point: X 11.7, with decimals
    Show(1, 1000);
    chart_->PlaceScrollMarkers();
  }
  static float ColumnMouseX(int c) { return static_cast<float>(c * 65 + 10); }
  float StartMarker() const { return chart_->scene.ScrollStartMarker.X1; }
  float EndMarker() const { return chart_->scene.ScrollEndMarker.X1; }
  std::pair<int32_t, int32_t> Shown() const { return {data_.DispStartPoint, data_.DispEndPoint}; }
};

TEST_F(CursorScrollTest, ReadOutOfTheColumnUnderTheMouseKeptOverEmptyColumnsAndByTheLock) {
  const std::string expected = std::string("No: 1   7/5/2013   9:5:7    X:0 Y:39 Z:998.4 Vector Sum:") +
                               FloatText(data_.RealData[1].V) + " X Angle:0 Y Angle:" +
                               FloatText(data_.RealData[1].AY) + " Z Angle:" + FloatText(data_.RealData[1].AZ);
  chart_->PlotMouseMove(10, 300);  // left of the first column: column 1
  EXPECT_EQ(chart_->state.CursorColumn, 1);
  EXPECT_EQ(chart_->scene.ReadOut.Caption, expected);

  chart_->PlotMouseMove(20000, 300);  // right of the last column: column 200
  EXPECT_EQ(chart_->state.CursorColumn, 200);
  EXPECT_EQ(chart_->scene.ReadOut.Caption.rfind("No: 996 ", 0), 0u);  // its first point
  chart_->PlotMouseMove(ColumnMouseX(100), 300);
  EXPECT_NE(chart_->scene.ReadOut.Caption.find("X:11.7 "), std::string::npos);
  // Empty columns and the lock keep the read-out.
  chart_->PlotMouseMove(ColumnMouseX(10), 100);
  const std::string shown = chart_->scene.ReadOut.Caption;
  chart_->PlotDoubleClick();
  chart_->PlotMouseMove(ColumnMouseX(150), 400);
  EXPECT_EQ(chart_->scene.ReadOut.Caption, shown);
  const float lock_left = chart_->scene.LockMarker[kCurveX].Left;
  chart_->OtherFrameMouseMove();  // leaving the plot hides only the cross-hair
  EXPECT_FLOAT_EQ(chart_->scene.CrossHairH.X1, -1000);
  EXPECT_FLOAT_EQ(chart_->scene.LockMarker[kCurveX].Left, lock_left);

  chart_->PlotDoubleClick();  // unlocked again
  Show(1, 20);  // few points: most columns empty
  chart_->PlotMouseMove(ColumnMouseX(1), 100);
  const std::string first = chart_->scene.ReadOut.Caption;
  ASSERT_EQ(data_.SlotUsed[3], 0);
  chart_->PlotMouseMove(ColumnMouseX(3), 100);
  EXPECT_EQ(chart_->scene.ReadOut.Caption, first);
  data_.MenuCommandCode = MenuOperation::FrequencyView;  // the spectrum view reads out the column's frequency
  data_.FrequencyView = true;
  chart_->ShowReadOut(1);
  EXPECT_EQ(chart_->scene.ReadOut.Caption, "Frequency = 1  HZ");
}

TEST_F(CursorScrollTest, OnlyLongRightwardDragsZoomAndSearchColumnsWithPoints) {
  // Short, leftward, and a release with no press of its own (after a double click).
  for (float to : {ColumnMouseX(50) + 100, ColumnMouseX(20), -1.0f}) {
    if (to >= 0) chart_->PlotMouseDown(ColumnMouseX(50), 100);
    chart_->PlotMouseUp(to >= 0 ? to : ColumnMouseX(150), 600);
    EXPECT_EQ(Shown(), std::pair(1, 1000)) << to;
  }
  Show(1, 40);  // columns 1..200 partly empty
  int first = 60, last = 120;
  while (data_.SlotUsed[first] == 0) --first;
  while (data_.SlotUsed[last] == 0) ++last;
  const int32_t start = data_.SlotPoint[first], end = data_.SlotPoint[last];
  chart_->PlotMouseDown(ColumnMouseX(60), 100);
  chart_->PlotMouseMove(ColumnMouseX(120), 900);
  chart_->PlotMouseUp(ColumnMouseX(120), 900);
  EXPECT_EQ(Shown(), std::pair(start, end));
  EXPECT_EQ(data_.SlotPoint[1], start);  // the window was redistributed
}

TEST_F(CursorScrollTest, MarkerDragsStayOnTheTrackAndApart) {
  data_.DispStartPoint = 100, data_.DispEndPoint = 200;
  chart_->PlaceScrollMarkers();
  const float end = EndMarker();
  chart_->TrackMouseDown(StartMarker() + 5);
  EXPECT_EQ(chart_->state.ScrollDragMode, ScrollDrag::StartMarker);
  chart_->TrackMouseMove(end + 9);
  EXPECT_FLOAT_EQ(StartMarker(), end + 9);
  chart_->TrackMouseMove(end + 10);  // x - 10 reached the end marker: it stays
  EXPECT_FLOAT_EQ(StartMarker(), end + 9);
  EXPECT_LT(data_.DispStartPoint, data_.DispEndPoint);
  EXPECT_EQ(data_.SlotPoint[1], 1);  // no redraw during the drag
  chart_->TrackMouseUp(end + 10);
  // Dragging both markers keeps them on the track.
  data_.DispStartPoint = 100, data_.DispEndPoint = 300;
  chart_->PlaceScrollMarkers();
  const float mid = (StartMarker() + EndMarker()) / 2;
  chart_->TrackMouseDown(mid);
  chart_->TrackMouseMove(mid - 5000);
  EXPECT_FLOAT_EQ(StartMarker(), 20);
  chart_->TrackMouseMove(mid + 20000);
  EXPECT_FLOAT_EQ(EndMarker(), chart_->state.ScrollTrackLength - 20);
  chart_->TrackMouseUp(mid + 20000);
  EXPECT_EQ(data_.DispEndPoint, 1000);
}

TEST_F(CursorScrollTest, DoubleClickArrowsAndAllPoint) {
  chart_->TrackDoubleClick();  // at both ends already: nothing to widen
  EXPECT_EQ(Shown(), std::pair(1, 1000));
  data_.DispStartPoint = 30, data_.DispEndPoint = 400;
  chart_->TrackDoubleClick();
  EXPECT_EQ(Shown(), std::pair(1, 450));
  data_.DispStartPoint = 120;
  chart_->ExtendWindowLeft();
  EXPECT_EQ(data_.DispStartPoint, 70);

  for (int i = 10; i < 15; ++i) data_.RealData.SetSample(i, 0, 0, 0);
  chart_->ShowAllPoints();
  EXPECT_EQ(Shown(), std::pair(1, 1000));
  EXPECT_EQ(chart_->scene.StatBox[kPointCountBox].Caption, "995");
}

TEST_F(CursorScrollTest, FrequencyBoxTogglesTheSpectrum) {
  // Not a spectrum file and no live spectrum: only the box changes.
  chart_->ShowSpectrumView(1);
  EXPECT_FALSE(data_.FrequencyView);

  // The spectra are drawn with no mg offset, which comes back afterwards.
  data_.FrequencyFileLoaded = true;
  chart_->ShowSpectrumView(1);
  EXPECT_TRUE(data_.FrequencyView);
  EXPECT_EQ(data_.CountPoint, 128);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 1).Y1, static_cast<float>(data_.RealData[data_.SlotPoint[1]].PlotX));
  EXPECT_EQ(chart_->scale.AccelOffset, -2500);
  EXPECT_FALSE(chart_->scene.CheckBox[4].Enabled);
  chart_->ShowSpectrumView(0);
  EXPECT_EQ(chart_->state.CurveShown[kCurveV], 1);
  EXPECT_TRUE(chart_->scene.CheckBox[4].Enabled);
}

}  // namespace
}  // namespace accelog::testing
