#include "device/device_timers.h"

#include "device/command_engine.h"
#include "device/download.h"
#include "device/link.h"
#include "device/realtime.h"

namespace accelog {

DeviceTimerSet Timers;
RealTimeHookSet RealTimeHooks;

namespace {

std::unique_ptr<Timer> Make(int interval_ms, std::function<void()> tick) {
  auto t = MakeTimer();
  t->SetEnabled(false);
  t->SetInterval(interval_ms);
  t->OnTick = std::move(tick);
  return t;
}

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

}  // namespace

void CreateDeviceTimers() {
  DestroyDeviceTimers();
  Timers.Timer4 = Make(500, Timer4_Timer);
  Timers.TimerMSComm = Make(500, TimerMSComm_Timer);
  Timers.Timer1 = Make(20, Timer1_Timer);
  Timers.Timer20ms = Make(20, [] { Call(RealTimeHooks.Timer20msTick); });
  Timers.Timer5 = Make(500, [] { Call(RealTimeHooks.Timer5Tick); });
  Timers.Timer6 = Make(1000, Timer6_Timer);
}

void DestroyDeviceTimers() { Timers = DeviceTimerSet{}; }

void ResetDeviceEngines() {
  CloseDevice();
  ResetLinkState();
  ResetCommandState();
  ResetDownloadState();
  ResetRealTimeState();
  CreateDeviceTimers();
}

}  // namespace accelog
