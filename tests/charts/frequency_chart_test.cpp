#include <tuple>

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

TEST_F(FrequencyChartTest, ScaleStepsUpAtFortyFiveHundredAndTwelveThousand) {
  // X peak on line 5, the top label, the peak's plotted value and line 3 of
  // Y (33 scaled down, halves to even).
  for (auto [peak, top, plotted, y3] : {std::tuple{4499, " 5000", 5000 - 4499, 5000 - 33},
                                        {4500, " 10000", 5000 - 2250, 5000 - 16},
                                        {12000, " 20000", 2000, 5000 - 8}}) {
    Spectra(peak, 300, 200);
    Data.RealData[200].PlotX = 99999;  // beyond the 128 lines: untouched
    Data.RealData[90].PlotY = 300;      // an equal peak later: the first is reported
    DispLeftLableF();
    EXPECT_EQ(ChartScene.LabelY[10].Caption, top) << peak;
    EXPECT_EQ(Data.RealData[5].PlotX, plotted) << peak;
    EXPECT_EQ(Data.RealData[3].PlotY, y3) << peak;
    EXPECT_EQ(ChartScene.Text[22].Caption, "40");
    EXPECT_EQ(Data.RealData[200].PlotX, 99999);
  }
}

TEST_F(FrequencyChartTest, SpectrumDrawsOnTheMgCurvesWithoutOffset) {
  Spectra(3000, 100, 100);
  DispLeftLableF();
  Data.CountPoint = 128;
  Data.FrequencyView = true;
  Data.FrequencyFileLoaded = true;
  Conv.AccelOffset = 0;
  Show(1, 128);
  // Column of line 5 carries the peak: 2000 units from the top.
  int column = 1;
  while (column < 200 && (Data.SlotUsed[column] == 0 || Data.SlotPoint[column] != 5)) ++column;
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, column).Y1, 2000);
}

}  // namespace
}  // namespace accelog::testing
