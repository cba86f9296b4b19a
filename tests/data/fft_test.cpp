#include "data/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "core/ui_port.h"
#include "data/conversion.h"
#include "data/kvx_file.h"
#include "params/machine_parameter.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

// The textbook transform with the same sign of exponent.
std::vector<std::complex<double>> PlainDft(const std::vector<double>& x) {
  const size_t n = x.size();
  std::vector<std::complex<double>> out(n);
  for (size_t k = 0; k < n; ++k) {
    for (size_t t = 0; t < n; ++t) out[k] += x[t] * std::polar(1.0, 2 * std::numbers::pi * double(k * t % n) / double(n));
  }
  return out;
}

class FftTest : public testing::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ResetDataState();
    ResetConversionState();
    ApplyDefaultParameters();
    FFTWindow = SpectrumWindow::None;
    SetUi(&ui_);
  }
  void TearDown() override {
    FFTWindow = SpectrumWindow::None;
    SetUi(nullptr);
  }
  struct Log : UiPort {
    void Message(const std::string& text, MessageIcon) override { messages.push_back(text); }
    std::vector<std::string> messages;
  } ui_;
};

TEST_F(FftTest, MatchesAPlainDftForEveryOrder) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(-2000, 2000);
  for (int16_t m = 0; m <= 10; ++m) {
    const size_t n = size_t{1} << m;
    std::vector<double> x(n);
    Data.FFTInput.assign(1024, Complex{0, 0});
    for (size_t i = 0; i < n; ++i) Data.FFTInput[i] = {x[i] = u(rng), 0};
    FFT(m);
    const auto want = PlainDft(x);
    for (size_t k = 0; k < n; ++k) {
      // The twiddles come from 3.1415926, so allow its error times N terms.
      const double tol = 1e-6 * 2000 * double(n);
      ASSERT_NEAR(Data.FFTOutput[k].Re, want[k].real(), tol) << "order " << m << " bin " << k;
      ASSERT_NEAR(Data.FFTOutput[k].Im, want[k].imag(), tol) << "order " << m << " bin " << k;
    }
  }
  const auto before = Data.FFTOutput[3].Re;
  FFT(11);  // beyond FFTWork: refused, nothing written
  FFT(-1);
  EXPECT_EQ(Data.FFTOutput[3].Re, before);
}

TEST_F(FftTest, SpectraAreTheRoundedMagnitudesOfTheFirst256Points) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> u(-4000, 4000);
  for (int i = 1; i <= 300; ++i) {
    RealDataRecord& r = Data.RealData[i];
    r.X = u(rng), r.Y = u(rng), r.Z = u(rng);
  }
  std::vector<double> axes[3];
  for (int i = 1; i <= 256; ++i) {
    axes[0].push_back(Data.RealData[i].X);
    axes[1].push_back(Data.RealData[i].Y);
    axes[2].push_back(Data.RealData[i].Z);
  }
  FrequencySpectra();
  int32_t RealDataRecord::*plots[3] = {&RealDataRecord::PlotX, &RealDataRecord::PlotY, &RealDataRecord::PlotZ};
  for (int a = 0; a < 3; ++a) {
    const auto want = PlainDft(axes[a]);
    for (int k = 0; k < 128; ++k) {
      const double m = std::abs(want[size_t(k)]);
      if (std::abs(m - std::floor(m) - 0.5) < 1e-3) continue;  // too close to a rounding edge
      ASSERT_EQ(Data.RealData[k + 1].*plots[a], std::lround(m)) << "axis " << a << " bin " << k;
    }
  }
  EXPECT_EQ(Data.RealData[129].PlotX, 0) << "only 128 lines are written";
}

TEST_F(FftTest, ConstantGivesOnlyBinZeroRoundedHalfToEven) {
  // 256 x c: 1.5 -> 2, 2.5 -> 2 (half to even), 1000 mg and its negative.
  const std::pair<float, int32_t> cases[] = {{3.f / 512, 2}, {5.f / 512, 2}, {1000.f, 256000}, {-1000.f, 256000}};
  for (auto [c, bin0] : cases) {
    for (int i = 1; i <= 256; ++i) Data.RealData[i].X = c;
    FFTSpectrumX();
    EXPECT_EQ(Data.RealData[1].PlotX, bin0) << c;
    for (int k = 2; k <= 128; ++k) ASSERT_EQ(Data.RealData[k].PlotX, 0) << c << " bin " << k;
  }
}

TEST_F(FftTest, HannKeepsATonesHeightAndCutsLeakage) {
  auto tone = [](double bin) {
    for (int i = 1; i <= 256; ++i) Data.RealData[i].X = float(100 * std::cos(2 * std::numbers::pi * bin * (i - 1) / 256));
    FFTSpectrumX();
  };
  tone(20);
  const int32_t plain_peak = Data.RealData[21].PlotX;
  tone(20.5);
  const int32_t plain_far = Data.RealData[61].PlotX;
  FFTWindow = SpectrumWindow::Hann;
  tone(20);
  EXPECT_EQ(Data.RealData[21].PlotX, plain_peak);
  EXPECT_EQ(Data.RealData[22].PlotX, plain_peak / 2);
  tone(20.5);
  EXPECT_LT(Data.RealData[61].PlotX * 20, plain_far);
}

TEST_F(FftTest, FrequencyFileLimits) {
  using R = FrequencyFileResult;
  const std::tuple<int, R, std::string> cases[] = {
      {0, R::NoData, "Data is error !"},
      {255, R::TooFewPoints, "Data is error !  <256"},
      {256, R::Ok, ""},
      {30000, R::Ok, ""},
      {30001, R::TooMuchData, "Too much data = 30001"},
  };
  for (const auto& [n, want, message] : cases) {
    const std::string path = folder_.File("n" + std::to_string(n) + ".kvx");
    testing::WriteBytes(path, testing::KvxImage({}, testing::Wave(n)));
    ui_.messages.clear();
    Data.CountPoint = 7;
    int32_t count = 0;
    EXPECT_EQ(ReadFrequencyFile(path, &count), want) << n;
    EXPECT_EQ(count, n);
    EXPECT_EQ(ui_.messages, want == R::Ok ? std::vector<std::string>{} : std::vector<std::string>{message});
    EXPECT_EQ(Data.CountPoint, want == R::Ok ? 256 : 7) << n;
  }
}

TEST_F(FftTest, MemoryCaptureReadsLikeItsFile) {
  MachineParameter.LedCycle = 3;
  MachineParameter.CriticalY = 40;
  MachineParameter.CurYear = 24;
  MachineParameter.CurMinute = 59;
  MachineParameter.RecordInterval = 500;
  SaveParameterToFFTMemory();
  EXPECT_EQ(MachineParameter.RecordInterval, 4);
  const auto samples = testing::KvxImage({}, testing::Wave(256));
  for (int i = 19; i < 1555; ++i) Data.FFTMemory[i + 1] = samples[size_t(i)];
  std::vector<unsigned char> image;
  for (int i = 1; i <= 1555; ++i) image.push_back(static_cast<unsigned char>(Data.FFTMemory[i]));
  const std::string path = folder_.File("123Frequency.Kvx");
  testing::WriteBytes(path, image);

  ApplyDefaultParameters();
  ASSERT_EQ(ReadFrequencyFile(path), FrequencyFileResult::Ok);
  const MachineParameterRecord from_file = MachineParameter;
  std::vector<RealDataRecord> file_points(&Data.RealData[1], &Data.RealData[257]);
  EXPECT_EQ(Data.DeviceSampleCount, 256u);

  ResetDataState();
  ApplyDefaultParameters();
  for (int i = 1; i <= 1555; ++i) Data.FFTMemory[i] = image[size_t(i - 1)];
  ReadFFTMemoryHead();
  EXPECT_EQ(ReadFFTMemoryPoints(), 256);
  EXPECT_EQ(Data.DeviceSampleCount, 256u);
  for (auto f : {&MachineParameterRecord::RecordInterval, &MachineParameterRecord::IntervalUnit,
                 &MachineParameterRecord::LedCycle, &MachineParameterRecord::CriticalY,
                 &MachineParameterRecord::WorkMode, &MachineParameterRecord::StartYear,
                 &MachineParameterRecord::StartMinute}) {
    EXPECT_EQ(MachineParameter.*f, from_file.*f);
  }
  EXPECT_EQ(from_file.RecordInterval, 4);
  EXPECT_EQ(from_file.LedCycle, 3);
  EXPECT_EQ(from_file.StartMinute, 59);
  for (int i = 1; i <= 256; ++i) {
    const RealDataRecord& a = Data.RealData[i];
    const RealDataRecord& b = file_points[size_t(i - 1)];
    ASSERT_TRUE(a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.Second == b.Second && a.Minute == b.Minute) << i;
  }
}

}  // namespace
}  // namespace accelog
