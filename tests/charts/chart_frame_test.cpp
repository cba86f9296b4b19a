#include <tuple>

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
  for (int i = 1; i <= 23; ++i) EXPECT_EQ(ChartScene.Text[i].Caption, "") << i;
  EXPECT_EQ(ChartScene.Text[24].Caption, "file.kvx");
  EXPECT_EQ(ChartScene.LabelX1[7].Caption, "");
}

TEST_F(ChartFrameTest, TimeAndFrequencyLabelsKeepTheirSpacing) {
  // Time labels a thousand twips apart (column 200 may come closer), Hz
  // labels five hundred.
  for (auto [frequency, points, spacing] : {std::tuple{false, 6000, 1000.0f}, {true, 128, 500.0f}}) {
    FillPoints(Flat(points));
    Data.FrequencyView = frequency;
    Show(1, points);
    EXPECT_EQ(ChartScene.LabelX1[1].Caption, frequency ? "1 Hz" : "9:5:7   ");  // the stored text, padding included
    int previous = 1;
    for (int c = 2; c < 200; ++c) {
      if (!ChartScene.LabelX1[c].Visible) continue;
      EXPECT_GE(ColumnX(c) - ColumnX(previous), spacing) << c;
      previous = c;
    }
    EXPECT_GT(previous, 150);
    EXPECT_TRUE(frequency || ChartScene.LabelX1[200].Visible);
  }
}

TEST_F(ChartFrameTest, EmptyColumnsGetNoTimeLabelAndLiveRunKeepsColumn200) {
  FillPoints(Flat(40));
  Show(1, 40);  // 30 <= n < 200: most columns stay empty
  for (int c = 2; c <= 199; ++c) EXPECT_TRUE(Data.SlotUsed[c] > 0 || !ChartScene.LabelX1[c].Visible) << c;
  ChartScene.LabelX1[200].Caption = "kept";
  Data.MenuCommandCode = 12;
  DispXLable();
  EXPECT_EQ(ChartScene.LabelX1[200].Caption, "kept");
}

TEST_F(ChartFrameTest, GridCheckBoxesKeepTheBottomLine) {
  Check9_Click(0);
  Check10_Click(0);
  EXPECT_TRUE(ChartScene.LineYFr5[0].Visible);
  EXPECT_FALSE(ChartScene.LineXFr5[20].Visible);
}

TEST_F(ChartFrameTest, PanOnlyDuringLiveRunsAndTheFileView) {
  FillPoints(Flat(300, 0));
  Show(1, 300);
  const float before = Seg(kCurveX, 2, 50).Y1;
  for (int16_t code : {0, 11, 15, 16}) {
    Data.MenuCommandCode = code;
    Picture1_Click();
    EXPECT_EQ(Conv.AccelOffset, -2500) << code;
  }
  Data.MenuCommandCode = 14;
  Picture1_Click();  // up by 100 mg: 500 units at R = 500
  EXPECT_EQ(Conv.AccelOffset, -3000);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 50).Y1, before - 500);
  Data.MenuCommandCode = 12;
  Picture2_Click();
  Picture2_Click();
  EXPECT_EQ(Conv.AccelOffset, -2000);
}

}  // namespace
}  // namespace accelog::testing
