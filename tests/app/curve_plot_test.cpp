#include <cmath>

#include "app/chart_fixture.h"

namespace accelog::testing {
namespace {

using CurvePlotTest = ChartTest;

TEST_F(CurvePlotTest, ColumnsOfOneToFourPointsChainTheirSegments) {
  std::vector<KvxSample> v;
  for (int i = 0; i < 800; ++i) v.push_back({static_cast<int16_t>(i % 7 * 10), 0, 256});
  FillPoints(v);
  for (int per_column : {1, 2, 3, 4}) {
    Show(1, 200 * per_column);
    ASSERT_EQ(data_.SlotUsed[10], per_column);
    const int32_t s = data_.SlotPoint[10];
    const int32_t last = s + per_column - 1;
    EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 10).Y1, chart_->CurveY(kCurveX, s));
    EXPECT_FLOAT_EQ(Seg(kCurveX, 4, 10).Y2, chart_->CurveY(kCurveX, last));
    // The connector comes from the last point of column 9, rounded.
    EXPECT_FLOAT_EQ(Seg(kCurveX, 1, 10).Y1, std::nearbyint(chart_->CurveY(kCurveX, s - 1)));
  }
}

TEST_F(CurvePlotTest, ThousandPointColumnDrawsFirstMinMaxLast) {
  std::vector<KvxSample> v(200000, KvxSample{0, 0, 256});
  v[4000 + 17] = {120, 0, 256};   // short spike up inside column 5
  v[4000 + 400] = {-80, 0, 256};  // and down
  v[4000 + 999] = {30, 0, 256};   // the column's last point
  ShowAll(v);
  ASSERT_EQ(data_.SlotUsed[5], 1000);
  const double base = chart_->scale.AccelOffset * chart_->scale.TwipsPerUnitY;
  // The smallest position field is the highest value: the upward spike.
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 5).Y2, base + data_.RealData[4018].PlotX);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 3, 5).Y2, base + data_.RealData[4401].PlotX);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 4, 5).Y2, chart_->CurveY(kCurveX, 5000));
  // A checkbox redraw of one curve (no shared extremes) agrees.
  const float max_end = Seg(kCurveX, 3, 5).Y2;
  chart_->SetCurveShown(kCurveX, 0);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 3, 5).Y2, kParkHidden);
  chart_->SetCurveShown(kCurveX, 1);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 3, 5).Y2, max_end);
}

TEST_F(CurvePlotTest, GapsAreBridgedAndEmptyColumnsParked) {
  ShowAll(Flat(10));
  ASSERT_EQ(data_.SlotPoint[24], 2);  // point 2 after a gap of empty columns
  // Empty columns: all five segments at the no-data parking of shown curves.
  for (int j = 1; j <= 5; ++j) EXPECT_FLOAT_EQ(Seg(kCurveZ, j, 30).Y1, kParkNoData);
  // After a gap: no connector, a bridge from the last point before the gap.
  EXPECT_FLOAT_EQ(Seg(kCurveZ, 1, 24).Y1, kParkHidden);
  const SceneLine& bridge = Seg(kCurveZ, 5, 24);
  EXPECT_FLOAT_EQ(bridge.X1, chart_->CurveColumnX(1));
  EXPECT_FLOAT_EQ(bridge.Y2, chart_->CurveY(kCurveZ, 2));
  // First marker after a gap sits on segment 2's start, not the parked connector.
  EXPECT_FLOAT_EQ(chart_->scene.CurvePoint[kCurveZ][1][24].Top, Seg(kCurveZ, 2, 24).Y1 - 37);
}

TEST_F(CurvePlotTest, ZeroPointColumnsLoseTheirMarkersAndTheCount) {
  std::vector<KvxSample> v = Flat(400);
  for (int i = 100; i < 110; ++i) v[static_cast<size_t>(i)] = {0, 0, 0};
  ShowAll(v);  // two points a column: points 101..110 fill columns 51..55
  for (int c = 51; c <= 55; ++c) {
    EXPECT_TRUE(data_.ZeroPointFlag[c]) << c;
    EXPECT_FALSE(chart_->scene.CurvePoint[kCurveX][4][c].Visible);
  }
  EXPECT_TRUE(chart_->scene.CurvePoint[kCurveX][1][50].Visible);
  EXPECT_EQ(chart_->scene.StatBox[kPointCountBox].Caption, "390");
}

TEST_F(CurvePlotTest, PointsSwitchCurveBoxesStatisticsAndClearScreen) {
  ShowAll(Flat(300));
  EXPECT_EQ(chart_->scene.StatBox[3].Caption, "998   7/5/2013 9:5:7");  // Max Z, first of equals
  chart_->SetPointsShown(0);
  EXPECT_FALSE(chart_->scene.CurvePoint[kCurveY][2][100].Visible);
  chart_->SetPointsShown(1);
  EXPECT_TRUE(chart_->scene.CurvePoint[kCurveY][2][100].Visible);
  // A hidden curve's markers are shown too, but parked with its segments.
  chart_->SetCurveShown(kCurveY, 0);
  EXPECT_GT(chart_->scene.CurvePoint[kCurveY][3][100].Top, 10000);
  chart_->ClearPlot();
  EXPECT_FALSE(data_.DataLoaded);
  EXPECT_FLOAT_EQ(Seg(kCurveZ, 2, 100).Y1, kParkHidden);
}

TEST_F(CurvePlotTest, NothingIsDrawnBeforeTheWindowLoaded) {
  chart_->state.ChartControlsLoaded = false;
  ShowAll(Flat(300));
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 100).Y1, kParkHidden);
  EXPECT_EQ(chart_->state.LastDrawEnd, 0);
}

}  // namespace
}  // namespace accelog::testing
