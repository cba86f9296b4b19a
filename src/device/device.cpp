#include "device/device.h"

#include <chrono>
#include <memory>

#include "core/ui_port.h"
#include "core/virtual_clock.h"
#include "device/texts.h"
#include "model/kvx_file.h"
#include "model/dataset.h"

namespace accelog {

DeviceClock SteadyDeviceClock(TimerFactory make_timer) {
  return {std::move(make_timer), [] {
            return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now().time_since_epoch())
                                            .count());
          },
          nullptr};
}

DeviceClock VirtualDeviceClock(VirtualClock& clock) {
  auto waits = std::make_shared<int64_t>(0);
  return {[&clock] { return clock.MakeTimer(); }, [&clock, waits] { return clock.Now() + *waits; },
          [waits](int ms) { *waits += ms; }};
}

std::unique_ptr<Timer> Device::MakeTimer(int interval_ms, std::function<void()> tick) {
  auto t = clock_.make_timer();
  t->SetEnabled(false);
  t->SetInterval(interval_ms);
  t->OnTick = std::move(tick);
  return t;
}

Device::Device(std::unique_ptr<Transport> transport, DeviceClock clock, UiPort& ui, Dataset& data,
               RecordingParameters& parameters)
    : transport_(std::move(transport)), clock_(std::move(clock)), ui_(ui), data_(data), parameters_(parameters) {
  scan_timer_ = MakeTimer(500, [this] { OnScanTimer(); });
  reply_timer_ = MakeTimer(500, [this] { OnReplyTimer(); });
  block_timer_ = MakeTimer(20, [this] { OnBlockTimer(); });
  spectrum_block_timer_ = MakeTimer(20, [this] { OnSpectrumBlockTimer(); });
  limit_timer_ = MakeTimer(500, [this] { OnLimitTimer(); });
}

std::string Device::Lang(const char* english, const char* chinese) const {
  return accelog::Lang(parameters_, english, chinese);
}

Device::~Device() {
  // A download cut short keeps its whole samples.
  CloseDownloadFile();
  data_.CloseCaptureFile();
  CloseDevice();
}

}  // namespace accelog
