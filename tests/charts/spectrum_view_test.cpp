#include "charts/spectrum_view.h"

#include <cmath>
#include <numbers>

#include "chart_fixture.h"
#include "charts/cursor_scroll.h"

namespace accelog::testing {
namespace {

class SpectrumViewTest : public ChartTest {
 protected:
  // Tones on X (line 11) and Y (line 31), gravity on Z (line 1), 300 points.
  std::string ToneFile() {
    std::vector<KvxSample> s;
    for (int i = 0; i < 300; ++i) {
      const double t = 2 * std::numbers::pi * i / 256;
      s.push_back({static_cast<int16_t>(std::lround(80 * std::sin(10 * t))),
                   static_cast<int16_t>(std::lround(30 * std::cos(30 * t))), 256});
    }
    const std::string path = folder_.File("shaker Frequency.Kvx");
    EXPECT_TRUE(WriteKvx(path, s));
    return path;
  }
  static std::vector<float> Curves() {
    std::vector<float> y;
    for (int k = 0; k < kCurves; ++k) {
      for (int c = 1; c <= kColumns; ++c) y.push_back(ChartScene.CurveLine[k][2][c].Y1);
    }
    return y;
  }
};

TEST_F(SpectrumViewTest, OpensAsSpectraWithPeaksAxisAndReadOut) {
  Conv.AccelOffset = 25;
  ASSERT_EQ(OpenFrequencyFileInChart(ToneFile()), FrequencyFileResult::Ok);
  EXPECT_EQ(Data.MenuCommandCode, 0);
  EXPECT_EQ(Data.CountPoint, 128);
  EXPECT_EQ(Conv.AccelOffset, 0);
  EXPECT_EQ(ChartState.SavedAccelOffset, 25);
  EXPECT_EQ(ChartScene.Text[21].Caption, "11");
  EXPECT_EQ(ChartScene.Text[22].Caption, "31");
  EXPECT_EQ(ChartScene.Text[23].Caption, "1");
  EXPECT_EQ(ChartScene.Text[24].Caption, folder_.path() + "/shakerFrequency.kvx");
  EXPECT_EQ(ChartScene.Check[13].Value, 1);
  EXPECT_FALSE(ChartScene.Label26.Visible);
  EXPECT_FALSE(ChartScene.Check[4].Enabled);
  EXPECT_EQ(ChartScene.LabelX1[1].Caption, "1 Hz");
  // Z's 256 counts (998.4 mg) in all 256 samples set the scale.
  EXPECT_EQ(ChartScene.LabelY[10].Caption, NumberText(5000LL * (std::lround(998.4 * 256) / 5000 + 2)));
  int column = 0;
  for (int c = 1; c <= kColumns; ++c) {
    if (Data.SlotUsed[c] > 0 && Data.SlotPoint[c] == 11) column = c;
  }
  ASSERT_GT(column, 0);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, column).Y1, static_cast<float>(Data.RealData[11].PlotX));
  EXPECT_LT(Data.RealData[11].PlotX, Data.RealData[20].PlotX) << "the peak is the highest point";
  PlotMouseMove(column * (ColumnX(2) - ColumnX(1)) + 10.0f, 2000.0f);
  EXPECT_EQ(ChartScene.Label25.Caption, "Frequency = 11  HZ");
}

TEST_F(SpectrumViewTest, DispFrequencyTogglesBetweenTheSameCurves) {
  ASSERT_EQ(OpenFrequencyFileInChart(ToneFile()), FrequencyFileResult::Ok);
  const auto spectrum = Curves();
  Check13_Click(0);
  EXPECT_EQ(Data.CountPoint, 256);
  EXPECT_TRUE(ChartScene.Label26.Visible);
  EXPECT_EQ(ChartState.CurveShown[kCurveV], 1);
  const int16_t offset = Conv.AccelOffset;
  const auto raw = Curves();
  EXPECT_NE(raw, spectrum);
  Check13_Click(1);
  CheckHann_Click(1);  // redrawn at once, and back
  EXPECT_NE(Curves(), spectrum);
  CheckHann_Click(0);
  EXPECT_EQ(Curves(), spectrum);
  Check13_Click(0);
  for (int round = 0; round < 2; ++round) {
    Check13_Click(1);
    EXPECT_EQ(Curves(), spectrum);
    EXPECT_EQ(Conv.AccelOffset, offset);
    EXPECT_EQ(ChartScene.Text[21].Caption, "11");
    Check13_Click(0);
    EXPECT_EQ(Curves(), raw);
  }
}

}  // namespace
}  // namespace accelog::testing
