#pragma once
// Deterministic time for tests: timers of this clock tick only when the test
// advances it, in the order of their due times (ties in arming order).
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/timer.h"

namespace accelog {

class VirtualClock {
 public:
  VirtualClock() = default;
  ~VirtualClock();
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;

  std::unique_ptr<Timer> MakeTimer();

  int64_t Now() const { return now_; }
  // Fires every tick due within the next ms milliseconds.
  void Advance(int64_t ms);
  // Fires ticks one at a time until done() holds or limit_ms have passed.
  // Returns done().
  bool RunUntil(const std::function<bool()>& done, int64_t limit_ms);
  // Fires the next due tick, if any, no later than `until`. Returns whether one fired.
  bool FireNext(int64_t until);

 private:
  class VirtualTimer;
  friend class VirtualTimer;
  uint64_t NextSequence() { return ++sequence_; }

  int64_t now_ = 0;
  uint64_t sequence_ = 0;
  std::vector<VirtualTimer*> timers_;
};

}  // namespace accelog
