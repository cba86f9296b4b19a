// Opening the largest accepted file (327600 points) for the acceleration view.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/state.h"
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

void Prepare() {
  static bool once = [] {
    ResetDataState();
    return true;
  }();
  (void)once;
  ResetConversionState();
  ApplyDefaultParameters();
}

void BM_OpenLargestFile(benchmark::State& state) {
  const std::string& f = LargestFile();
  Prepare();
  for (auto _ : state) {
    Data.MenuCommandCode = MenuOperation::DataView;
    if (OpenDataFileServer(f) != OpenResult::Ok) state.SkipWithError("file refused");
    benchmark::DoNotOptimize(Data.SlotUsed[200]);
  }
  state.counters["points"] = Data.CountPoint;
}
BENCHMARK(BM_OpenLargestFile)->Unit(benchmark::kMillisecond);

void BM_ReadAllPoints(benchmark::State& state) {
  const std::string& f = LargestFile();
  Prepare();
  ReadFileHead(f);
  Data.CountPoint = CountFilePoints(f);
  for (auto _ : state) benchmark::DoNotOptimize(ReadAllPoints(f));
}
BENCHMARK(BM_ReadAllPoints)->Unit(benchmark::kMillisecond);

void BM_StatisticsScaleAndPlot(benchmark::State& state) {
  const std::string& f = LargestFile();
  Prepare();
  OpenDataFileServer(f);
  PlotScale scale;
  for (auto _ : state) {
    ComputeStatistics(1, Data.CountPoint);
    ScaleAccelAxis(scale);
    ComputePlotPositions(scale);
    MapRangeToSlots(1, Data.CountPoint);
    benchmark::DoNotOptimize(Data.RealData[Data.CountPoint].PlotAZ);
  }
}
BENCHMARK(BM_StatisticsScaleAndPlot)->Unit(benchmark::kMillisecond);

}  // namespace
