// Opening the largest accepted file (327600 points) for the acceleration view.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/dataset.h"
#include "model/machine_parameter.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace {

using namespace accelog;
namespace support = accelog::testing;

const std::string& LargestFile() {
  static support::TempFolder folder;
  static const std::string path = [] {
    const std::string p = folder.File("largest.kvx");
    support::KvxHead h;
    h.count = 327600;
    h.year = 13;
    h.month = 12;
    h.day = 31;
    h.hour = 23;
    support::WriteBytes(p, support::KvxImage(h, support::Wave(327600)));
    return p;
  }();
  return path;
}

// One dataset for every case, as a window keeps one.
Dataset& Prepare() {
  static Dataset data;
  return data;
}

void BM_OpenLargestFile(benchmark::State& state) {
  const std::string& f = LargestFile();
  Dataset& data = Prepare();
  for (auto _ : state) {
    data.MenuCommandCode = MenuOperation::DataView;
    if (data.Open(f) != OpenResult::Ok) state.SkipWithError("file refused");
    benchmark::DoNotOptimize(data.SlotUsed[200]);
  }
  state.counters["points"] = data.CountPoint;
}
BENCHMARK(BM_OpenLargestFile)->Unit(benchmark::kMillisecond);

void BM_ReadAllPoints(benchmark::State& state) {
  const std::string& f = LargestFile();
  Dataset& data = Prepare();
  data.ReadFileHead(f);
  data.CountPoint = CountFilePoints(f);
  for (auto _ : state) benchmark::DoNotOptimize(data.ReadAllPoints(f));
}
BENCHMARK(BM_ReadAllPoints)->Unit(benchmark::kMillisecond);

void BM_StatisticsScaleAndPlot(benchmark::State& state) {
  const std::string& f = LargestFile();
  Dataset& data = Prepare();
  data.Open(f);
  PlotScale scale;
  for (auto _ : state) {
    data.ComputeStatistics(1, data.CountPoint);
    data.ScaleAccelAxis(scale);
    data.ComputePlotPositions(scale);
    data.MapRangeToSlots(1, data.CountPoint);
    benchmark::DoNotOptimize(data.RealData[data.CountPoint].PlotAZ);
  }
}
BENCHMARK(BM_StatisticsScaleAndPlot)->Unit(benchmark::kMillisecond);

}  // namespace
