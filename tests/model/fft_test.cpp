#include "model/fft.h"

#include <gtest/gtest.h>

#include <complex>
#include <numbers>
#include <random>

#include "app/chart_fixture.h"

namespace accelog::testing {
namespace {

using FftTest = ChartTest;

TEST_F(FftTest, SpectraAreTheRoundedMagnitudesOfAPlainDftOfTheFirst256Points) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> u(-1000, 1000);
  for (int i = 1; i <= 300; ++i) data_.RealData.SetSample(i, int16_t(u(rng)), int16_t(u(rng)), int16_t(u(rng)));
  data_.FrequencySpectra();
  for (auto [value, plot] : {std::pair{&RealDataRecord::X, &RealDataRecord::PlotX},
                             {&RealDataRecord::Y, &RealDataRecord::PlotY}, {&RealDataRecord::Z, &RealDataRecord::PlotZ}}) {
    for (int k = 0; k < 128; ++k) {
      std::complex<double> sum;
      for (int t = 0; t < 256; ++t) sum += double(data_.RealData[t + 1].*value) * std::polar(1.0, 2 * std::numbers::pi * (k * t % 256) / 256);
      const double m = std::abs(sum);
      if (std::abs(m - std::floor(m) - 0.5) < 1e-3) continue;  // too near a rounding edge
      ASSERT_EQ(data_.RealData[k + 1].*plot, std::lround(m)) << "bin " << k;
    }
  }
  EXPECT_EQ(data_.RealData[129].PlotX, 0) << "only 128 lines are written";
}

TEST_F(FftTest, HannKeepsATonesHeight) {
  // A tone of 1000 counts (3900 mg) on line 21: 128 x 3900 unwindowed; the
  // doubled Hann keeps that height and puts half of it on each neighbour.
  data_.Window = SpectrumWindow::Hann;
  for (int i = 1; i <= 256; ++i)
    data_.RealData.SetSample(i, int16_t(std::lround(1000 * std::cos(2 * std::numbers::pi * 20 * (i - 1) / 256))), 0, 0);
  data_.SpectrumX();
  EXPECT_NEAR(data_.RealData[21].PlotX, 499200, 300);
  EXPECT_NEAR(data_.RealData[22].PlotX, 249600, 300);
}

TEST_F(FftTest, FrequencyFileLimits) {
  using R = FrequencyFileResult;
  for (auto [n, want, message] : {std::tuple{0, R::NoData, "Data is error !"}, {255, R::TooFewPoints, "Data is error !  <256"},
                                  {256, R::Ok, ""}, {30000, R::Ok, ""}, {30001, R::TooMuchData, "Too much data = 30001"}}) {
    WriteKvx(folder_.File("f.kvx"), std::vector<KvxSample>(size_t(n), {1, -2, 3}));
    data_.CountPoint = 7;
    const FrequencyFileOutcome o = data_.ReadFrequencyFile(folder_.File("f.kvx"));
    EXPECT_EQ(o, want) << n;
    EXPECT_EQ(o.message, message);
    EXPECT_EQ(data_.CountPoint, want == R::Ok ? 256 : 7) << n;
  }
}

TEST_F(FftTest, MemoryCaptureReadsLikeItsFile) {
  RecordingParameters p{};
  ApplyDefaults(p);
  p.CurMinute = 59;
  data_.WriteSpectrumHead(p);
  for (int i = 20; i <= 1555; ++i) data_.FFTMemory[i] = int16_t(i * 37 % 256);
  const std::vector<unsigned char> image(&data_.FFTMemory[1], &data_.FFTMemory[1556]);
  WriteBytes(folder_.File("f.kvx"), image);
  // Opened from the command line, it goes to the frequency view; one sample more or less does not.
  EXPECT_TRUE(IsSpectrumCapture(folder_.File("f.kvx")));
  for (size_t n : {image.size() - 6, image.size() + 6}) {
    std::vector<unsigned char> other = image;
    other.resize(n, 1);
    WriteBytes(folder_.File("g.kvx"), other);
    EXPECT_FALSE(IsSpectrumCapture(folder_.File("g.kvx"))) << n;
  }
  ASSERT_EQ(data_.ReadFrequencyFile(folder_.File("f.kvx")), FrequencyFileResult::Ok);
  auto point = [this](int32_t i) {
    const RealDataRecord r = data_.RealData[i];
    return std::tuple(r.X, r.Y, r.Z, std::string(r.Date()), std::string(r.Time()));
  };
  std::vector<decltype(point(1))> file_points;
  for (int i = 1; i <= 256; ++i) file_points.push_back(point(i));
  for (int i = 1; i <= 1555; ++i) data_.FFTMemory[i] = image[size_t(i - 1)];
  data_.ReadSpectrumMemoryHead();
  EXPECT_EQ(data_.ReadSpectrumMemoryPoints(), 256);
  EXPECT_EQ(std::tuple(data_.Head.RecordInterval, data_.Head.StartMinute, data_.DeviceSampleCount), std::tuple(4, 59, 256u));
  for (int i = 1; i <= 256; ++i) ASSERT_EQ(point(i), file_points[size_t(i - 1)]) << i;
}

std::vector<float> Curves(const Chart& chart) {
  std::vector<float> y;
  for (int k = 0; k < kCurves; ++k) {
    for (int c = 1; c <= kColumns; ++c) y.push_back(chart.scene.CurveLine[k][2][c].Y1);
  }
  return y;
}

// Tones on lines 17, 33 and 49 over offsets, gravity on Z: by default every
// peak is line 1. "Remove mean" finds the tones, "Frequency in Hz" names them
// by the file's interval (a head without one keeps the numbers); both off
// again give back the first curves. So do the Hann window and the raw view.
TEST_F(ChartTest, SpectrumViewOptionsFindTheTonesAndToggleBack) {
  using Peaks = std::tuple<std::string, std::string, std::string>;
  for (auto [interval, unit, hz, readout] :
       {std::tuple{uint16_t(50), uint8_t(0), Peaks("1.25", "2.5", "3.75"), "Frequency = 2.5  HZ"},
        {uint16_t(1), uint8_t(1), Peaks("0.0625", "0.125", "0.1875"), "Frequency = 0.125  HZ"},
        {uint16_t(0), uint8_t(0), Peaks("17", "33", "49"), "Frequency = 33  HZ"}}) {
    const std::string path = folder_.File("tones.kvx");
    WriteBytes(path, KvxImage({.interval = interval, .unit = unit, .count = 256}, TonesOverOffsets()));
    chart_->scale.AccelOffset = 25;
    ASSERT_EQ(chart_->OpenFrequencyFile(path), FrequencyFileResult::Ok);
    EXPECT_EQ(std::tuple(data_.MenuCommandCode, data_.CountPoint, chart_->scale.AccelOffset, chart_->state.SavedAccelOffset),
              std::tuple(MenuOperation::None, 128, 0, 25));
    auto peaks = [this] { return Peaks(chart_->scene.StatBox[21].Caption, chart_->scene.StatBox[22].Caption, chart_->scene.StatBox[23].Caption); };
    EXPECT_EQ(peaks(), Peaks("1", "1", "1"));
    const auto plain = Curves(*chart_);
    chart_->SetRemoveMean(1);
    EXPECT_EQ(peaks(), Peaks("17", "33", "49")) << interval;
    chart_->SetFrequencyInHz(1);
    EXPECT_EQ(peaks(), hz);
    EXPECT_EQ(chart_->scene.TimeLabel[1].Caption, interval ? "0 Hz" : "1 Hz");
    int16_t column = 1;
    while (data_.SlotPoint[column] != 33) ++column;
    chart_->ShowReadOut(column);
    EXPECT_EQ(chart_->scene.ReadOut.Caption, readout);
    chart_->SetRemoveMean(0);
    chart_->SetFrequencyInHz(0);
    EXPECT_EQ(peaks(), Peaks("1", "1", "1"));
    EXPECT_EQ(Curves(*chart_), plain);
    chart_->SetHannWindow(1);  // redrawn at once, and back
    EXPECT_NE(Curves(*chart_), plain);
    chart_->SetHannWindow(0);
    EXPECT_EQ(Curves(*chart_), plain);
  }
  const auto spectrum = Curves(*chart_);
  chart_->ShowSpectrumView(0);
  EXPECT_EQ(data_.CountPoint, 256);
  const int16_t offset = chart_->scale.AccelOffset;
  const auto raw = Curves(*chart_);
  for (int round = 0; round < 2; ++round) {
    chart_->ShowSpectrumView(1);
    EXPECT_EQ(Curves(*chart_), spectrum);
    EXPECT_EQ(chart_->scale.AccelOffset, offset);
    chart_->ShowSpectrumView(0);
    EXPECT_EQ(Curves(*chart_), raw);
  }
}

}  // namespace
}  // namespace accelog::testing
