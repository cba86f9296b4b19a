#pragma once
// Engine timers on the steady clock, for a program without a window toolkit
// (accelog-cli's device commands): Run() sleeps until the next timer is due
// and fires it. Like a window timer, a late timer fires once and goes on from
// then, with no burst of missed ticks.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/timer.h"

namespace accelog {

class TimerLoop {
 public:
  TimerLoop() = default;
  ~TimerLoop();
  TimerLoop(const TimerLoop&) = delete;
  TimerLoop& operator=(const TimerLoop&) = delete;

  std::unique_ptr<Timer> MakeTimer();
  // Fires due timers until done() holds (asked after every tick).
  void Run(const std::function<bool()>& done);

 private:
  class LoopTimer;
  std::vector<LoopTimer*> timers_;
  uint64_t sequence_ = 0;
};

}  // namespace accelog
