// spectrum: what the "Frequency" view computes for a .kvx file, without a
// window: the magnitudes of the first 256 points, the peaks, the axis.
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

namespace accelog::cli {
namespace {

constexpr const char* kUsage = "spectrum FILE.kvx [--json] [--window none|hann]";
constexpr const char* kAxes[3] = {"X", "Y", "Z"};
int32_t RealDataRecord::*const kPlots[3] = {&RealDataRecord::PlotX, &RealDataRecord::PlotY,
                                            &RealDataRecord::PlotZ};

struct Spectrum {
  int32_t magnitude[3][kSpectrumBins];
  int32_t plot[3][kSpectrumBins];
  std::string peak[3];
  std::string labels[11];
  float f;
};

int Usage() {
  std::fprintf(stderr, "usage: accelog-cli %s\n", kUsage);
  return kExitUsage;
}

// The spectra, then the chart's conversion of them (LabelSpectrumAxis).
Spectrum Compute(Dataset& data) {
  Spectrum s{};
  const auto chart = std::make_unique<Chart>(data);
  data.FrequencySpectra();
  int64_t max = -10000;
  for (int a = 0; a < 3; ++a) {
    for (int i = 0; i < kSpectrumBins; ++i) {
      s.magnitude[a][i] = data.RealData[i + 1].*kPlots[a];
      if (s.magnitude[a][i] > max) max = s.magnitude[a][i];
    }
  }
  s.f = SpectrumScale(max);
  chart->LabelSpectrumAxis();
  for (int a = 0; a < 3; ++a) {
    s.peak[a] = chart->scene.StatBox[kPeakLineBox + a].Caption;
    for (int i = 0; i < kSpectrumBins; ++i) s.plot[a][i] = data.RealData[i + 1].*kPlots[a];
  }
  for (int i = 0; i <= 10; ++i) s.labels[i] = chart->scene.AccelLabel[i].Caption;
  data.FrequencySpectrumPoints();
  return s;
}

nlohmann::ordered_json Axes(const int32_t (&v)[3][kSpectrumBins]) {
  nlohmann::ordered_json axes;
  for (int a = 0; a < 3; ++a) axes[kAxes[a]] = std::vector<int32_t>(std::begin(v[a]), std::end(v[a]));
  return axes;
}

void PrintJson(const Dataset& data, const Spectrum& s) {
  JsonNumbers numbers;
  nlohmann::ordered_json out;
  out["CountPoint"] = data.CountPoint;
  out["magnitudes"] = Axes(s.magnitude);
  out["peaks"] = {{"X", numbers.Number(s.peak[0])}, {"Y", numbers.Number(s.peak[1])}, {"Z", numbers.Number(s.peak[2])}};
  out["F"] = static_cast<long long>(std::nearbyint(s.f));
  out["labels"] = std::vector<std::string>(std::begin(s.labels), std::end(s.labels));
  out["plot"] = Axes(s.plot);
  std::printf("%s\n", numbers.Dump(out).c_str());
}

void PrintText(const Spectrum& s) {
  std::printf("%4s %8s %10s %10s %10s\n", "bin", "line", "X", "Y", "Z");
  for (int i = 0; i < kSpectrumBins; ++i) {
    const std::string hz = std::to_string(i + 1) + " Hz";
    std::printf("%4d %8s %10d %10d %10d\n", i, hz.c_str(), s.magnitude[0][i], s.magnitude[1][i],
                s.magnitude[2][i]);
  }
  for (int a = 0; a < 3; ++a) std::printf("%s Max HZ %s\n", kAxes[a], s.peak[a].c_str());
  std::printf("Axis 0 .. %.0f (F = %.0f)\n", 5000.0 * s.f, static_cast<double>(s.f));
}

}  // namespace

int RunSpectrum(Args& args) {
  const bool json = args.TakeFlag("--json");
  const auto window = args.TakeValue("--window");
  if (args.UnknownOption() || args.words.size() != 1) return Usage();
  if (window && *window != "none" && *window != "hann") return Usage();

  Dataset data;
  data.Window = window && *window == "hann" ? SpectrumWindow::Hann : SpectrumWindow::None;
  if (!FileCanBeRead(args.words[0])) return kExitFailed;
  if (const FrequencyFileOutcome outcome = data.ReadFrequencyFile(args.words[0]); outcome != FrequencyFileResult::Ok) {
    StderrUi ui;
    ShowRefusal(ui, outcome);
    return kExitRefused;
  }
  const Spectrum s = Compute(data);
  json ? PrintJson(data, s) : PrintText(s);
  return kExitOk;
}

}  // namespace accelog::cli
