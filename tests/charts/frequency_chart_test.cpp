#include "chart_fixture.h"
#include "charts/frequency_chart.h"

namespace accelog::testing {
namespace {

using FrequencyChartTest = ChartTest;

void Spectra(int32_t x_peak, int32_t y_peak, int32_t z_peak) {
  for (int i = 1; i <= 128; ++i) {
    Data.RealData[i].PlotX = (i * 7) % 100;
    Data.RealData[i].PlotY = (i * 11) % 100;
    Data.RealData[i].PlotZ = (i * 13) % 100;
  }
  Data.RealData[5].PlotX = x_peak;
  Data.RealData[40].PlotY = y_peak;
  Data.RealData[128].PlotZ = z_peak;
}

TEST_F(FrequencyChartTest, BelowFortyFiveHundredTheScaleIsOne) {
  Spectra(4499, 300, 200);
  Data.RealData[200].PlotX = 99999;  // beyond the 128 lines: untouched
  DispLeftLableF();
  EXPECT_EQ(ChartScene.LabelY[0].Caption, " 0");
  EXPECT_EQ(ChartScene.LabelY[1].Caption, " 500");
  EXPECT_EQ(ChartScene.LabelY[10].Caption, " 5000");
  EXPECT_EQ(ChartScene.Text[21].Caption, "5");
  EXPECT_EQ(ChartScene.Text[22].Caption, "40");
  EXPECT_EQ(ChartScene.Text[23].Caption, "128");
  EXPECT_EQ(Data.RealData[5].PlotX, 5000 - 4499);
  EXPECT_EQ(Data.RealData[7].PlotY, 5000 - 77);
  EXPECT_EQ(Data.RealData[200].PlotX, 99999);
}

TEST_F(FrequencyChartTest, FortyFiveHundredAndTwelveThousand) {
  Spectra(4500, 0, 0);
  DispLeftLableF();  // F = Int(0.9) + 2
  EXPECT_EQ(ChartScene.LabelY[10].Caption, " 10000");
  EXPECT_EQ(Data.RealData[5].PlotX, 5000 - 2250);
  EXPECT_EQ(Data.RealData[3].PlotY, 5000 - 16);  // 33 / 2 = 16.5, half to even

  Spectra(100, 12000, 0);
  DispLeftLableF();  // F = 4
  EXPECT_EQ(ChartScene.LabelY[10].Caption, " 20000");
  EXPECT_EQ(ChartScene.LabelY[3].Caption, " 6000");
  EXPECT_EQ(Data.RealData[40].PlotY, 2000);
  EXPECT_EQ(ChartScene.Text[22].Caption, "40");
}

TEST_F(FrequencyChartTest, FirstOfEqualPeaksIsReported) {
  Spectra(900, 900, 900);
  Data.RealData[3].PlotX = 900;
  Data.RealData[90].PlotY = 900;
  DispLeftLableF();
  EXPECT_EQ(ChartScene.Text[21].Caption, "3");
  EXPECT_EQ(ChartScene.Text[22].Caption, "40");
  // All zero: every line on the bottom grid line, peak line 1.
  for (int i = 1; i <= 128; ++i) Data.RealData[i].PlotX = Data.RealData[i].PlotY = Data.RealData[i].PlotZ = 0;
  DispLeftLableF();
  EXPECT_EQ(ChartScene.Text[21].Caption, "1");
  EXPECT_EQ(Data.RealData[64].PlotZ, 5000);
}

TEST_F(FrequencyChartTest, SpectrumDrawsOnTheMgCurvesWithoutOffset) {
  Spectra(3000, 100, 100);
  DispLeftLableF();
  Data.CountPoint = 128;
  Data.FrequencyView = true;
  Data.FrequencyFileLoaded = true;
  Conv.AccelOffset = 0;
  Show(1, 128);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, Data.SlotUsed[6] ? 6 : 7).Y1,
                  static_cast<float>(Data.RealData[Data.SlotPoint[Data.SlotUsed[6] ? 6 : 7]].PlotX));
  // Column of line 5 carries the peak: 2000 units from the top.
  int column = 0;
  for (int c = 1; c <= 200; ++c) {
    if (Data.SlotUsed[c] > 0 && Data.SlotPoint[c] == 5) column = c;
  }
  ASSERT_GT(column, 0);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, column).Y1, 2000);
  EXPECT_EQ(ChartScene.LabelX1[1].Caption, "1 Hz");
}

}  // namespace
}  // namespace accelog::testing
