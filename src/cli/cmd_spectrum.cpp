// spectrum: what the "Frequency" view computes for a .kvx file, without a
// window: the magnitudes of the first 256 points, the peaks, the axis.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <memory>

#include "app/chart.h"
#include "app/frequency_chart.h"
#include "app/file_menu.h"
#include "cli/cli.h"
#include "model/conversion.h"
#include "model/fft.h"
#include "model/dataset.h"
#include "model/utils.h"

namespace accelog::cli {
namespace {

constexpr const char* kUsage = "spectrum FILE.kvx [--json] [--window none|hann] [--remove-mean] [--hz]";
constexpr const char* kAxes[3] = {"X", "Y", "Z"};
int32_t RealDataRecord::*const kPlots[3] = {&RealDataRecord::PlotX, &RealDataRecord::PlotY,
                                            &RealDataRecord::PlotZ};

struct Spectrum {
  int32_t magnitude[3][kSpectrumBins];
  int32_t plot[3][kSpectrumBins];
  std::string peak[3];
  int32_t peak_line[3];
  std::string labels[11];
  std::string line_text[kSpectrumBins];  // "14", or "1.016" in Hz
  float f;
};

// The spectra, then the chart's conversion of them (LabelSpectrumAxis).
Spectrum Compute(Dataset& data, bool hz) {
  Spectrum s{};
  const auto chart = std::make_unique<Chart>(data);
  chart->SetFrequencyInHz(hz ? 1 : 0);
  data.FrequencySpectra();
  int64_t max = -10000;
  for (int a = 0; a < 3; ++a) {
    for (int i = 0; i < kSpectrumBins; ++i) {
      s.magnitude[a][i] = data.RealData[i + 1].*kPlots[a];
      if (s.magnitude[a][i] > max) max = s.magnitude[a][i];
    }
  }
  s.f = SpectrumScale(max);
  for (int a = 0; a < 3; ++a) {
    s.peak_line[a] = static_cast<int32_t>(std::max_element(s.magnitude[a], s.magnitude[a] + kSpectrumBins) - s.magnitude[a]) + 1;
  }
  chart->LabelSpectrumAxis();
  for (int a = 0; a < 3; ++a) {
    s.peak[a] = chart->scene.StatBox[kPeakLineBox + a].Caption;
    for (int i = 0; i < kSpectrumBins; ++i) s.plot[a][i] = data.RealData[i + 1].*kPlots[a];
  }
  for (int i = 0; i <= 10; ++i) s.labels[i] = chart->scene.AccelLabel[i].Caption;
  for (int i = 0; i < kSpectrumBins; ++i) s.line_text[i] = chart->LineText(i + 1);
  data.FrequencySpectrumPoints();
  return s;
}

int64_t IntervalMs(const Dataset& data) {
  return IntervalMilliseconds(static_cast<uint16_t>(data.Head.RecordInterval), data.Head.IntervalUnit);
}

// The shortest text that reads back to the same double.
nlohmann::ordered_json Hz(JsonNumbers& numbers, double hz) {
  char text[32];
  return numbers.Number(std::string(text, std::to_chars(text, text + sizeof text, hz).ptr));
}

nlohmann::ordered_json Axes(const int32_t (&v)[3][kSpectrumBins]) {
  nlohmann::ordered_json axes;
  for (int a = 0; a < 3; ++a) axes[kAxes[a]] = std::vector<int32_t>(std::begin(v[a]), std::end(v[a]));
  return axes;
}

// With --hz the peaks are frequencies in Hz, exact, and "frequencies" names
// every line's; otherwise the peaks are line numbers.
void PrintJson(const Dataset& data, const Spectrum& s, bool hz) {
  JsonNumbers numbers;
  nlohmann::ordered_json out;
  out["CountPoint"] = data.CountPoint;
  out["magnitudes"] = Axes(s.magnitude);
  nlohmann::ordered_json& peaks = out["peaks"] = nlohmann::ordered_json::object();
  for (int a = 0; a < 3; ++a) {
    peaks[kAxes[a]] = hz ? Hz(numbers, LineFrequency(s.peak_line[a], IntervalMs(data))) : numbers.Number(s.peak[a]);
  }
  if (hz) {
    nlohmann::ordered_json& lines = out["frequencies"] = nlohmann::ordered_json::array();
    for (int i = 1; i <= kSpectrumBins; ++i) lines.push_back(Hz(numbers, LineFrequency(i, IntervalMs(data))));
  }
  out["F"] = static_cast<long long>(std::nearbyint(s.f));
  out["labels"] = std::vector<std::string>(std::begin(s.labels), std::end(s.labels));
  out["plot"] = Axes(s.plot);
  std::printf("%s\n", numbers.Dump(out).c_str());
}

void PrintText(const Spectrum& s, bool hz) {
  const int width = hz ? 10 : 8;  // "0.07812 Hz"
  std::printf("%4s %*s %10s %10s %10s\n", "bin", width, "line", "X", "Y", "Z");
  for (int i = 0; i < kSpectrumBins; ++i) {
    const std::string line = s.line_text[i] + " Hz";
    std::printf("%4d %*s %10d %10d %10d\n", i, width, line.c_str(), s.magnitude[0][i], s.magnitude[1][i],
                s.magnitude[2][i]);
  }
  for (int a = 0; a < 3; ++a) std::printf("%s Max HZ %s\n", kAxes[a], s.peak[a].c_str());
  std::printf("Axis 0 .. %.0f (F = %.0f)\n", 5000.0 * s.f, static_cast<double>(s.f));
}

}  // namespace

int RunSpectrum(Args& args) {
  const bool json = args.TakeFlag("--json");
  const auto window = args.TakeValue("--window");
  const bool remove_mean = args.TakeFlag("--remove-mean");
  const bool hz = args.TakeFlag("--hz");
  if (args.UnknownOption() || args.words.size() != 1) return UsageError(kUsage);
  if (window && *window != "none" && *window != "hann") return UsageError(kUsage);

  Dataset data;
  data.Window = window && *window == "hann" ? SpectrumWindow::Hann : SpectrumWindow::None;
  data.RemoveMean = remove_mean;
  if (!FileCanBeRead(args.words[0])) return kExitFailed;
  if (const FrequencyFileOutcome outcome = data.ReadFrequencyFile(args.words[0]); outcome != FrequencyFileResult::Ok) {
    StderrUi ui;
    ShowRefusal(ui, outcome);
    return kExitRefused;
  }
  if (hz && IntervalMs(data) <= 0) {
    std::fprintf(stderr, "accelog-cli: %s: the sample interval is 0, so its lines have no frequency in Hz\n",
                 args.words[0].c_str());
    return kExitRefused;
  }
  const Spectrum s = Compute(data, hz);
  json ? PrintJson(data, s, hz) : PrintText(s, hz);
  return kExitOk;
}

}  // namespace accelog::cli
