// The chart frame: mg, angle, time and Hz labels, the grid, panning, and the spectrum scale.
#include <tuple>

#include "app/chart_fixture.h"
#include "app/frequency_chart.h"

namespace accelog::testing {
namespace {

using ChartFrameTest = ChartTest;

TEST_F(ChartFrameTest, MgLabelsFollowTheScale) {
  // 100 / (500 / 900) is 179.99998 in single precision: still 180 a step.
  for (auto [peak, labels] : {std::pair{0.0f, "-500 -100 0 500"}, {1234.0f, "-1400 280 1400 1400"},
                              {700.0f, "-900 180 900 900"}}) {
    if (peak > 0) {
      data_.Stats.StatMaxValue[kV] = peak;
      data_.ScaleAccelAxis(chart_->scale);
    }
    chart_->LabelAccelAxis();
    const auto& l = chart_->scene.AccelLabel;
    const std::string got = l[0].Caption + " " + (peak > 0 ? l[6].Caption : l[4].Caption) + " " +
                            (peak > 0 ? l[10].Caption : l[5].Caption) + " " + l[10].Caption;
    EXPECT_EQ(got, labels) << peak;
  }
}

TEST_F(ChartFrameTest, AngleLabelsAndClearText) {
  for (int i = 1; i <= 23; ++i) chart_->scene.StatBox[i].Caption = "x";
  chart_->scene.StatBox[kFileNameBox].Caption = "file.kvx";
  chart_->scene.TimeLabel[7].Caption = "9:5:7";
  chart_->state.AngleLabelBase = -60;
  chart_->ClearTexts();
  EXPECT_EQ(chart_->scene.AngleLabel[0].Caption, "-60");
  for (int i = 1; i <= 23; ++i) EXPECT_EQ(chart_->scene.StatBox[i].Caption, "") << i;
  EXPECT_EQ(chart_->scene.StatBox[kFileNameBox].Caption, "file.kvx");
  EXPECT_EQ(chart_->scene.TimeLabel[7].Caption, "");
}

TEST_F(ChartFrameTest, TimeAndFrequencyLabelsKeepTheirSpacing) {
  // Time labels a thousand twips apart (column 200 may come closer), Hz
  // labels five hundred.
  for (auto [frequency, points, spacing] : {std::tuple{true, 128, 500.0f}, {false, 6000, 1000.0f}}) {
    FillPoints(Flat(points));
    data_.FrequencyView = frequency;
    Show(1, points);
    EXPECT_EQ(chart_->scene.TimeLabel[1].Caption, frequency ? "1 Hz" : "9:5:7   ");  // the stored text, padding included
    int previous = 1;
    for (int c = 2; c < 200; ++c) {
      if (!chart_->scene.TimeLabel[c].Visible) continue;
      EXPECT_GE(chart_->ColumnX(c) - chart_->ColumnX(previous), spacing) << c;
      previous = c;
    }
    EXPECT_GT(previous, 150);
    EXPECT_TRUE(frequency || chart_->scene.TimeLabel[200].Visible);
  }
  // 30 <= n < 200 points: most columns stay empty, and get no label. A live
  // run keeps column 200's.
  ShowAll(Flat(40));
  for (int c = 2; c <= 199; ++c) EXPECT_TRUE(data_.SlotUsed[c] > 0 || !chart_->scene.TimeLabel[c].Visible) << c;
  chart_->scene.TimeLabel[200].Caption = "kept";
  data_.MenuCommandCode = MenuOperation::LiveData;
  chart_->LabelTimeAxis();
  EXPECT_EQ(chart_->scene.TimeLabel[200].Caption, "kept");
}

TEST_F(ChartFrameTest, GridCheckBoxesKeepTheBottomLine) {
  chart_->ShowHorizontalGrid(0);
  chart_->ShowVerticalGrid(0);
  EXPECT_TRUE(chart_->scene.HorizontalGrid[0].Visible);
  EXPECT_FALSE(chart_->scene.VerticalGrid[20].Visible);
}

TEST_F(ChartFrameTest, PanOnlyDuringLiveRunsAndTheFileView) {
  ShowAll(Flat(300, 0));
  const float before = Seg(kCurveX, 2, 50).Y1;
  for (MenuOperation op : {MenuOperation::None, MenuOperation::Download, MenuOperation::FrequencyView,
                           MenuOperation::DataList}) {
    data_.MenuCommandCode = op;
    chart_->PanDown();
    EXPECT_EQ(chart_->scale.AccelOffset, -2500) << static_cast<int>(op);
  }
  data_.MenuCommandCode = MenuOperation::DataView;
  chart_->PanDown();  // up by 100 mg: 500 units at R = 500
  EXPECT_EQ(chart_->scale.AccelOffset, -3000);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 50).Y1, before - 500);
  data_.MenuCommandCode = MenuOperation::LiveData;
  chart_->PanUp();
  chart_->PanUp();
  EXPECT_EQ(chart_->scale.AccelOffset, -2000);
}

using FrequencyChartTest = ChartTest;

void Spectra(Dataset& data_, int32_t x_peak, int32_t y_peak, int32_t z_peak) {
  data_.Plot.Resize(256);
  for (int i = 1; i <= 128; ++i) {
    data_.Plot.X[i] = (i * 7) % 100;
    data_.Plot.Y[i] = (i * 11) % 100;
    data_.Plot.Z[i] = (i * 13) % 100;
  }
  data_.Plot.X[5] = x_peak;
  data_.Plot.Y[40] = y_peak;
  data_.Plot.Z[128] = z_peak;
}

TEST_F(FrequencyChartTest, ScaleStepsUpAtFortyFiveHundredAndTwelveThousand) {
  // X peak on line 5, the top label, the peak's plotted value and line 3 of
  // Y (33 scaled down, halves to even).
  for (auto [peak, top, plotted, y3] : {std::tuple{4499, " 5000", 5000 - 4499, 5000 - 33},
                                        {4500, " 10000", 5000 - 2250, 5000 - 16},
                                        {12000, " 20000", 2000, 5000 - 8}}) {
    Spectra(data_, peak, 300, 200);
    data_.Plot.X[200] = 99999;  // beyond the 128 lines: untouched
    data_.Plot.Y[90] = 300;      // an equal peak later: the first is reported
    chart_->LabelSpectrumAxis();
    EXPECT_EQ(chart_->scene.AccelLabel[10].Caption, top) << peak;
    EXPECT_EQ(data_.RealData[5].PlotX, plotted) << peak;
    EXPECT_EQ(data_.RealData[3].PlotY, y3) << peak;
    EXPECT_EQ(chart_->scene.StatBox[22].Caption, "40");
    EXPECT_EQ(data_.RealData[200].PlotX, 99999);
  }
}

}  // namespace
}  // namespace accelog::testing
