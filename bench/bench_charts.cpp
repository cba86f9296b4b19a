// The chart on the largest file: the redraw of a 327600-point window
// (column map + Draw) and a full paint of the scene at 1x.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <string>

#include <memory>

#include "app/chart.h"
#include "ui/chart_painter.h"
#include "support/kvx_maker.h"
#include "core/program_folder.h"
#include "model/conversion.h"
#include "model/dataset.h"
#include "model/machine_parameter.h"

namespace {

using namespace accelog;

constexpr int32_t kPoints = 327600;  // the most a file may hold

// Opens a generated largest file once in one chart; all seven curves on when asked.
Chart& LoadLargestFile(bool all_curves) {
  static Dataset data;
  static std::unique_ptr<Chart> chart;
  if (!chart) {
    const std::string folder = (std::filesystem::temp_directory_path() / "accelog-bench-charts").string();
    std::filesystem::create_directories(folder);
    InitProgramFolder(folder);
    const std::string file = folder + "/largest.kvx";
    accelog::testing::WriteKvx(file, accelog::testing::RealisticSamples(kPoints, 20000, 500));
    chart = std::make_unique<Chart>(data);
    chart->LoadWindow();
    if (chart->OpenDataFile(file) != OpenResult::Ok || data.CountPoint != kPoints) {
      std::fprintf(stderr, "bench_charts: could not open %s\n", file.c_str());
      std::abort();
    }
    std::filesystem::remove_all(folder);
  }
  for (int k = 0; k < kCurves; ++k) chart->state.CurveShown[k] = all_curves || k <= kCurveV ? 1 : 0;
  return *chart;
}

void BM_MapRangeToSlotsAndDispCurve(benchmark::State& state) {
  Chart& chart = LoadLargestFile(state.range(0) == 7);
  for (auto _ : state) {
    chart.Data().MapRangeToSlots(1, kPoints);
    chart.Draw(1, kPoints);
    benchmark::DoNotOptimize(chart.scene.CurveLine[kCurveX][3][100].Y2);
  }
  state.SetLabel(std::to_string(state.range(0)) + " curves shown");
}
BENCHMARK(BM_MapRangeToSlotsAndDispCurve)->Arg(4)->Arg(7)->Unit(benchmark::kMillisecond)->Repetitions(7);

void BM_PaintScene1x(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_charts";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
  Chart& chart = LoadLargestFile(state.range(0) == 7);
  chart.Draw(1, kPoints);
  const double pixels_per_twip = 96.0 / 1440.0;
  QImage image(static_cast<int>(chart.scene.Width * pixels_per_twip),
               static_cast<int>(chart.scene.Height * pixels_per_twip), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    PaintChartScene(painter, chart.scene, pixels_per_twip, false);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(std::to_string(state.range(0)) + " curves shown");
}
BENCHMARK(BM_PaintScene1x)->Arg(4)->Arg(7)->Unit(benchmark::kMillisecond)->Repetitions(7);

}  // namespace
