#pragma once
// The main window's timers of the device link, made by the timer factory and
// wired to their tick procedures.
#include <functional>
#include <memory>

#include "core/timer.h"

namespace accelog {

struct DeviceTimerSet {
  std::unique_ptr<Timer> Timer4;       // device scan, 500 ms
  std::unique_ptr<Timer> TimerMSComm;  // single reply reader, 500 ms
  std::unique_ptr<Timer> Timer1;       // blocks and live samples, time-out
  std::unique_ptr<Timer> Timer20ms;    // live spectrum blocks, 20 ms
  std::unique_ptr<Timer> Timer5;       // live-data time limit, 500 ms
  std::unique_ptr<Timer> Timer6;       // the print-screen step before the spreadsheet export
};

extern DeviceTimerSet Timers;

// All created disabled, from the factory in use; TimerMSComm's interval set
// as the main window does when it loads. Replaces any earlier set.
void CreateDeviceTimers();
void DestroyDeviceTimers();

// The live-acquisition engine plugs its steps in here; until it does, its
// branches do nothing.
struct RealTimeHookSet {
  std::function<void()> Timer1Branch22;       // one live sample
  std::function<void()> Timer1Branch21;       // one spectrum set
  std::function<void()> Timer20msTick;        // spectrum block reader
  std::function<void()> Timer5Tick;           // live-data time limit
  std::function<void()> AbandonRealTimeData;  // lost device, ActiveOperation 22
  std::function<void()> AbandonRealTimeFrequency;  // lost device, ActiveOperation 21
};

extern RealTimeHookSet RealTimeHooks;

// Link, command and download state back to start-up values, and a fresh set
// of timers from the factory in use.
void ResetDeviceEngines();

}  // namespace accelog
