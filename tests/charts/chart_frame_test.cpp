#include <set>

#include "chart_fixture.h"

namespace accelog::testing {
namespace {

using ChartFrameTest = ChartTest;

TEST_F(ChartFrameTest, MgLabelsFollowTheScale) {
  // 100 / (500 / 900) is 179.99998 in single precision: still 180 a step.
  for (auto [peak, labels] : {std::pair{0.0f, "-500 -100 0 500"}, {1234.0f, "-1400 280 1400 1400"},
                              {700.0f, "-900 180 900 900"}}) {
    if (peak > 0) {
      Conv.StatMaxValue[kV] = peak;
      ScaleAccelAxis();
    }
    DispLeftLableY();
    const auto& l = ChartScene.LabelY;
    const std::string got = l[0].Caption + " " + (peak > 0 ? l[6].Caption : l[4].Caption) + " " +
                            (peak > 0 ? l[10].Caption : l[5].Caption) + " " + l[10].Caption;
    EXPECT_EQ(got, labels) << peak;
  }
}

TEST_F(ChartFrameTest, AngleLabelsAndClearText) {
  for (int i = 1; i <= 23; ++i) ChartScene.Text[i].Caption = "x";
  ChartScene.Text[24].Caption = "file.kvx";
  ChartScene.LabelX1[7].Caption = "9:5:7";
  ChartState.AngleLabelBase = -60;
  ClearText();
  EXPECT_EQ(ChartScene.LabelAng[0].Caption, "-60");
  EXPECT_EQ(ChartScene.LabelAng[3].Caption, " 0");
  EXPECT_EQ(ChartScene.LabelAng[10].Caption, " 140");
  EXPECT_EQ(ChartScene.LabelY[10].Caption, "500");
  for (int i = 1; i <= 23; ++i) EXPECT_EQ(ChartScene.Text[i].Caption, "") << i;
  EXPECT_EQ(ChartScene.Text[24].Caption, "file.kvx");
  EXPECT_EQ(ChartScene.LabelX1[7].Caption, "");
}

TEST_F(ChartFrameTest, TimeLabelsAreAThousandTwipsApartAndColumnOneAlwaysHasOne) {
  FillPoints(Flat(6000));
  Show(1, 6000);
  const ChartSceneRecord& s = ChartScene;
  EXPECT_TRUE(s.LabelX1[1].Visible);
  EXPECT_EQ(s.LabelX1[1].Caption, "9:5:7   ");  // the stored text, padding included
  EXPECT_EQ(s.LabelX2[1].Caption, "7/5/2013  ");
  std::vector<int> shown;
  for (int c = 1; c <= 200; ++c) {
    EXPECT_EQ(s.LabelX1[c].Visible, s.LabelX2[c].Visible) << c;
    if (s.LabelX1[c].Visible) shown.push_back(c);
  }
  ASSERT_GE(shown.size(), 3u);
  for (size_t i = 1; i + 1 < shown.size(); ++i) {
    EXPECT_GE(s.LabelX1[shown[i]].Left - s.LabelX1[shown[i - 1]].Left, 1000);
  }
  EXPECT_EQ(shown[1], 17);  // 16 columns of 65 twips are the first 1000
  EXPECT_EQ(shown.back(), 200);
  // Column 193 would sit 455 twips left of column 200: it gives way.
  EXPECT_FALSE(s.LabelX1[193].Visible);
  EXPECT_GE(s.LabelX1[200].Left - s.LabelX1[shown[shown.size() - 2]].Left, 500);
  const RealDataRecord& last = Data.RealData[Data.SlotPoint[200]];
  EXPECT_EQ(s.LabelX1[200].Caption, std::string(last.Time()));
}

TEST_F(ChartFrameTest, EmptyColumnsGetNoTimeLabelAndLiveRunKeepsColumn200) {
  FillPoints(Flat(40));
  Show(1, 40);  // 30 <= n < 200: most columns stay empty
  for (int c = 2; c <= 199; ++c) {
    if (Data.SlotUsed[c] == 0) {
      EXPECT_FALSE(ChartScene.LabelX1[c].Visible) << c;
    }
  }
  ChartScene.LabelX1[200].Caption = "kept";
  Data.MenuCommandCode = 12;
  DispXLable();
  EXPECT_EQ(ChartScene.LabelX1[200].Caption, "kept");
}

TEST_F(ChartFrameTest, FrequencyLabelsAreHzFiveHundredTwipsApart) {
  FillPoints(Flat(128));
  Data.FrequencyView = true;
  Show(1, 128);
  EXPECT_EQ(ChartScene.LabelX1[1].Caption, "1 Hz");
  int previous = 1;
  for (int c = 2; c <= 200; ++c) {
    if (!ChartScene.LabelX1[c].Visible) continue;
    EXPECT_GE(ColumnX(c) - ColumnX(previous), 500.0f);
    EXPECT_EQ(ChartScene.LabelX1[c].Caption, std::to_string(Data.SlotPoint[c]) + " Hz");
    EXPECT_EQ(ChartScene.LabelX2[c].Caption, "");
    previous = c;
  }
  EXPECT_GT(previous, 150);
}

TEST_F(ChartFrameTest, GridCheckBoxesKeepTheBottomLine) {
  Check9_Click(0);
  Check10_Click(0);
  EXPECT_TRUE(ChartScene.LineYFr5[0].Visible);
  EXPECT_FALSE(ChartScene.LineYFr5[5].Visible);
  EXPECT_FALSE(ChartScene.LineXFr5[20].Visible);
  Check10_Click(1);
  EXPECT_TRUE(ChartScene.LineXFr5[20].Visible);
}

TEST_F(ChartFrameTest, PanOnlyDuringLiveRunsAndTheFileView) {
  FillPoints(Flat(300, 0));
  Show(1, 300);
  const float before = Seg(kCurveX, 2, 50).Y1;
  for (int16_t code : {0, 11, 15, 16}) {
    Data.MenuCommandCode = code;
    Picture1_Click();
    Picture2_Click();
    EXPECT_EQ(Conv.AccelOffset, -2500) << code;
    EXPECT_FLOAT_EQ(Conv.AccelRangeLow, -500.0f) << code;
  }
  Data.MenuCommandCode = 14;
  Picture1_Click();  // up by 100 mg: 500 units at R = 500
  EXPECT_FLOAT_EQ(Conv.AccelRangeLow, -600.0f);
  EXPECT_EQ(Conv.AccelOffset, -3000);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 50).Y1, before - 500);
  EXPECT_EQ(ChartScene.LabelY[10].Caption, "500");
  EXPECT_EQ(ChartScene.Frame5.Top, ChartScene.Frame4.Top);
  Data.MenuCommandCode = 12;
  Picture2_Click();
  Picture2_Click();
  EXPECT_EQ(Conv.AccelOffset, -2000);
}

TEST_F(ChartFrameTest, HitTestFindsPlotTrackAndFrames) {
  const TwipPoint plot = PlotOrigin();
  const TwipPoint track = TrackOrigin();
  EXPECT_EQ(HitTest(plot.X + 10, plot.Y + 10), ChartArea::Plot);
  EXPECT_EQ(HitTest(track.X + 100, track.Y + 100), ChartArea::ScrollTrack);
  EXPECT_EQ(HitTest(100, 100), ChartArea::Frame1);
  EXPECT_EQ(HitTest(plot.X - 300, plot.Y + 100), ChartArea::OtherFrame);
  EXPECT_EQ(HitTest(10, 9390), ChartArea::Background);
}

}  // namespace
}  // namespace accelog::testing
