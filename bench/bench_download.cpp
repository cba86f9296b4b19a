// Real-time download throughput: the engines on Qt timers against a
// simulated logger that answers at once, over the socket (transport 0) or
// over USB (transport 1: libusb's Linux backend against the logger emulated
// at the usbfs level, the program under umockdev's preload). The 20 ms block
// timer allows 50 blocks per second; blocks_per_s is what the whole loop
// reaches (timer, round trip, file write).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>

#include "core/program_folder.h"
#include "ui/qt_timer.h"
#include "core/ui_port.h"
#include "model/dataset.h"
#include "app/device_menu.h"
#include "device/device.h"
#include "model/machine_parameter.h"
#include "sim/recording.h"
#include "sim/simulator.h"
#include "support/temp_folder.h"
#include "usb/emulated_logger.h"

namespace {

using namespace accelog;
using Clock = std::chrono::steady_clock;

class BenchUi : public UiPort {
 public:
  std::string save_name;
  Clock::time_point loop_start, loop_end;
  std::string SaveFileName(const std::string&, const std::string&) override { return save_name; }
  bool AskOkCancel(const std::string&) override { return true; }
  void ProgressShow(int, int) override { loop_start = Clock::now(); }
  void ProgressHide() override { loop_end = Clock::now(); }
  void ShowDataFile(const std::string&) override {}
};

std::vector<uint8_t> ReadBytesOf(const std::string& path) {
  const auto bytes = accelog::testing::ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

// Runs the Qt loop until done() holds or limit_ms pass.
bool RunUntil(const std::function<bool()>& done, int limit_ms) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(limit_ms, &loop, &QEventLoop::quit);
  poll.start(50);  // rare, so it does not compete with the block timer
  loop.exec();
  return done();
}

void BM_RealTimeDownload(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_download";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);

  accelog::testing::TempFolder folder;
  InitProgramFolder(folder.path());
  RecordingParameters parameters{};
  ApplyDefaults(parameters);
  parameters.LanguageFlag = 1;
  Dataset data;
  const auto samples = static_cast<uint32_t>(state.range(0));
  const bool usb = state.range(2) == 1;
  // One testbed for the whole run: libusb's context outlives a benchmark.
  static std::unique_ptr<accelog::testing::UsbTestbed> bed;
  static accelog::testing::EmulatedLogger* usb_logger = nullptr;
  sim::Simulator logger(sim::MakeRecording(samples, 1));
  if (usb) {
    if (const std::string why = accelog::testing::UsbEmulationMissing(); !why.empty()) {
      state.SkipWithError(why.c_str());
      return;
    }
    if (!bed) {
      bed = std::make_unique<accelog::testing::UsbTestbed>();
      usb_logger = &bed->Plug(sim::MakeRecording(samples, 1));
    }
    if (usb_logger->Memory().Count() != samples) {
      state.SkipWithError("the USB logger holds another sample count");
      return;
    }
  } else if (!logger.Start(folder.File("logger.sock"))) {
    state.SkipWithError("simulator did not start");
    return;
  }
  BenchUi ui;
  ui.save_name = folder.File("bench.kvx");
  Device device(usb ? MakeUsbTransport() : MakeTransport("sim:" + folder.File("logger.sock")),
                SteadyDeviceClock(MakeQtTimer), ui, data, parameters);
  device.StartScan();
  if (!RunUntil([&] { return device.Connected(); }, 10000)) {
    state.SkipWithError("no link to the logger");
    return;
  }

  // Fault mixes: none, 10 % late by 400 ms, 10 % late by 900 ms, 2 % lost,
  // 5 % damaged, and a bit of each.
  const sim::Faults mixes[] = {{},
                               {.late = 0.1, .late_ms = 400},
                               {.late = 0.1, .late_ms = 900},
                               {.drop = 0.02},
                               {.corrupt = 0.05},
                               {.corrupt = 0.03, .drop = 0.01, .late = 0.05, .late_ms = 700}};
  if (usb) {
    usb_logger->SetFaults(mixes[state.range(1)]);
  } else {
    logger.SetFaults(mixes[state.range(1)]);
  }
  const std::vector<uint8_t> image = usb ? usb_logger->Memory().FileImage() : logger.Memory().FileImage();
  double seconds = 0;
  int64_t blocks = 0;
  for (auto _ : state) {
    DownloadData(device);
    RunUntil([&] { return device.download.Outcome != DownloadOutcome::Running; }, 600000);
    if (device.download.Outcome != DownloadOutcome::Ended ||
        ReadBytesOf(ui.save_name) != image) {
      state.SkipWithError("download did not end");
      break;
    }
    const double s = std::chrono::duration<double>(ui.loop_end - ui.loop_start).count();
    state.SetIterationTime(s);
    seconds += s;
    blocks += device.download.BlockCount;
  }
  state.counters["blocks_per_s"] = seconds > 0 ? static_cast<double>(blocks) / seconds : 0;
  state.counters["blocks"] = static_cast<double>(blocks);

  logger.Stop();
}

// 4000 samples: 500 blocks, about 10 s of block loop per iteration, over
// each transport; the fault mixes over 1600 samples (200 blocks) on the
// socket and "a bit of each" over USB, once each.
BENCHMARK(BM_RealTimeDownload)
    ->ArgsProduct({{4000}, {0}, {0, 1}})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealTimeDownload)
    ->ArgsProduct({{1600}, {1, 2, 3, 4, 5}, {0}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealTimeDownload)->Args({4000, 5, 1})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

// Under umockdev's preload, so the USB runs reach the emulated logger.
int main(int argc, char** argv) {
  accelog::testing::RunUnderUmockdev(argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
