#include "model/fft.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>

#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "model/machine_parameter.h"

namespace accelog {


Complex ComplexAdd(Complex a, Complex b) { return {a.Re + b.Re, a.Im + b.Im}; }
Complex ComplexSub(Complex a, Complex b) { return {a.Re - b.Re, a.Im - b.Im}; }
Complex ComplexMul(Complex a, Complex b) {
  return {a.Re * b.Re - a.Im * b.Im, a.Im * b.Re + b.Im * a.Re};
}

void Dataset::FFT(int16_t order) {
  if (order < 0 || order > kMaxFFTOrder) return;
  const int m = order;
  const int n = 1 << m;
  if (static_cast<int>(FFTInput.size()) < n) FFTInput.resize(static_cast<size_t>(n));
  if (static_cast<int>(FFTOutput.size()) < n) FFTOutput.resize(static_cast<size_t>(n));
  for (int k = 0; k < n / 2; ++k) {
    const double a = (k * 3.1415926 + k * 3.1415926) / n;
    FFTTwiddle[k] = {std::cos(a), std::sin(a)};
  }
  for (int i = 0; i < n; ++i) FFTWork[i] = FFTInput[static_cast<size_t>(i)];
  for (int s = 0; s < m; ++s) {
    const int span = 1 << (m - s);
    const int half = span / 2;
    for (int g = 0; g < (1 << s); ++g) {
      for (int j = 0; j < half; ++j) {
        const int i1 = g * span + j;
        const int i2 = i1 + half;
        const Complex a = ComplexAdd(FFTWork[i1], FFTWork[i2]);
        const Complex b = ComplexMul(ComplexSub(FFTWork[i1], FFTWork[i2]),
                                     FFTTwiddle[(1 << s) * j]);
        FFTWork[i1] = a;
        FFTWork[i2] = b;
      }
    }
  }
  for (int i = 0; i < n; ++i) {
    int r = 0;
    for (int b = m - 1; b >= 0; --b) {
      if (i & (1 << b)) r += 1 << (m - 1 - b);
    }
    FFTOutput[static_cast<size_t>(i)] = FFTWork[r];
  }
}


// One axis: field is RealDataRecord::X (Y, Z), its lines go to plot column
// X (Y, Z) of points 1..128.
void Dataset::SpectrumOf(float RealDataRecord::*field, std::vector<int32_t> PlotColumns::*plot) {
  std::vector<int32_t>& lines = Plot.*plot;
  if (static_cast<int32_t>(lines.size()) <= kSpectrumBins) Plot.Resize(std::max(CountPoint, kFFTPoints));
  FFTInput.assign(1024, Complex{0, 0});
  FFTOutput.assign(1024, Complex{0, 0});
  double mean = 0;
  if (RemoveMean) {
    for (int i = 0; i < kFFTPoints; ++i) mean += RealData[i + 1].*field;
    mean /= kFFTPoints;
  }
  for (int i = 0; i < kFFTPoints; ++i) {
    double v = RealData[i + 1].*field - mean;
    // Periodic Hann, times 2 so a tone's peak keeps its height.
    if (Window == SpectrumWindow::Hann) v *= 1.0 - std::cos(2.0 * std::numbers::pi * i / kFFTPoints);
    FFTInput[static_cast<size_t>(i)] = {v, 0.0};
  }
  FFT(kFFTOrder);
  for (int i = 0; i < kSpectrumBins; ++i) {
    const Complex c = FFTOutput[static_cast<size_t>(i)];
    const float magnitude = static_cast<float>(std::sqrt(c.Re * c.Re + c.Im * c.Im));
    lines[static_cast<size_t>(i) + 1] = static_cast<int32_t>(std::nearbyint(magnitude));
  }
}

double LineFrequency(int32_t line, int64_t interval_ms) {
  return (line - 1) * 1000.0 / (kFFTPoints * static_cast<double>(interval_ms));
}

std::string FrequencyText(double hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", hz);
  return text;
}

void Dataset::SpectrumX() { SpectrumOf(&RealDataRecord::X, &PlotColumns::X); }
void Dataset::SpectrumY() { SpectrumOf(&RealDataRecord::Y, &PlotColumns::Y); }
void Dataset::SpectrumZ() { SpectrumOf(&RealDataRecord::Z, &PlotColumns::Z); }

void Dataset::WriteSpectrumHead(RecordingParameters& p) {
  p.RecordInterval = kSpectrumInterval;
  p.IntervalUnit = 0;
  p.WorkMode = 1;
  const int16_t head[19] = {0, kSpectrumInterval, 0, p.LedCycle, p.CriticalX, p.CriticalY,
                            p.CriticalZ, p.RecordMode, 1, 0, 0, 1, 0, p.CurYear, p.CurMonth,
                            p.CurDay, p.CurHour, p.CurMinute, p.CurSecond};
  for (int i = 0; i < 19; ++i) FFTMemory[i + 1] = head[i];
}

void Dataset::ReadSpectrumMemoryHead() {
  uint8_t h[kHeadBytes];
  for (int i = 0; i < kHeadBytes; ++i) h[i] = static_cast<uint8_t>(FFTMemory[i + 1]);
  ReadHeadBytes(h);
}

int32_t Dataset::ReadSpectrumMemoryPoints() {
  uint8_t bytes[kFFTPoints * kSampleBytes];
  for (int i = 0; i < kFFTPoints * kSampleBytes; ++i) {
    bytes[i] = static_cast<uint8_t>(FFTMemory[kHeadBytes + 1 + i]);
  }
  DownloadBytesWritten = kFFTMemoryBytes;
  ReadPointBytes(bytes, kFFTPoints);
  return kFFTPoints;
}

void Dataset::FrequencyDataPoints() {
  CountPoint = kFFTPoints;
  DispStartPoint = 1;
  DispEndPoint = kFFTPoints;
  MapRangeToSlots(1, kFFTPoints);
}

void Dataset::FrequencySpectra() {
  SpectrumX();
  SpectrumY();
  SpectrumZ();
}

void Dataset::FrequencySpectrumPoints() {
  CountPoint = kSpectrumBins;
  DispStartPoint = 1;
  DispEndPoint = kSpectrumBins;
  MapRangeToSlots(1, kSpectrumBins);
}

std::string FrequencyFileMessage(FrequencyFileResult result, int32_t count) {
  switch (result) {
    case FrequencyFileResult::TooMuchData: return "Too much data =" + NumberText(static_cast<long long>(count));
    case FrequencyFileResult::NoData: return "Data is error !";
    case FrequencyFileResult::TooFewPoints: return "Data is error !  <256";
    default: return {};
  }
}

bool IsSpectrumCapture(const std::string& file_name) {
  std::ifstream in(file_name, std::ios::binary);
  uint8_t h[kHeadBytes] = {};
  if (!in.read(reinterpret_cast<char*>(h), kHeadBytes)) return false;
  in.seekg(0, std::ios::end);
  const bool whole = in.tellg() == std::streamoff(kHeadBytes + kFFTPoints * kSampleBytes);
  return whole && h[0] == 0 && h[1] == kSpectrumInterval && h[2] == 0 && h[8] == 1 && h[9] == 0 && h[10] == 0 &&
         h[11] == 1 && h[12] == 0;
}

FrequencyFileOutcome Dataset::ReadFrequencyFile(const std::string& file_name, int32_t* count_out) {
  ReadFileHead(file_name);
  const int32_t count = CountFilePoints(file_name);
  if (count_out) *count_out = count;
  FrequencyFileResult result = FrequencyFileResult::Ok;
  if (count > kMaxFrequencyPoints) result = FrequencyFileResult::TooMuchData;
  else if (count <= 0) result = FrequencyFileResult::NoData;
  else if (count < kFFTPoints) result = FrequencyFileResult::TooFewPoints;
  if (result != FrequencyFileResult::Ok) return {result, FrequencyFileMessage(result, count), true};
  if (const std::string problem = HeadProblem(Head); !problem.empty()) {
    return {FrequencyFileResult::NotLoggerFile, NotLoggerFileMessage(file_name, problem), true};
  }
  CountPoint = kFFTPoints;
  DispStartPoint = 1;
  DispEndPoint = kFFTPoints;
  ReadAllPoints(file_name);
  ComputeStatistics(1, CountPoint);
  return {};
}

}  // namespace accelog
