#include "core/virtual_clock.h"

#include <algorithm>
#include <limits>

namespace accelog {

class VirtualClock::VirtualTimer : public Timer {
 public:
  explicit VirtualTimer(VirtualClock* clock) : clock_(clock) { clock_->timers_.push_back(this); }
  ~VirtualTimer() override {
    if (!clock_) return;
    auto& v = clock_->timers_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }

  void SetInterval(int ms) override {
    interval_ = ms;
    if (enabled_) Arm();
  }
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override {
    if (enabled && !enabled_) {
      enabled_ = true;
      Arm();
    } else if (!enabled) {
      enabled_ = false;
    }
  }
  bool IsEnabled() const override { return enabled_; }

  bool Due(int64_t until) const { return clock_ && enabled_ && interval_ > 0 && due_ <= until; }
  int64_t due() const { return due_; }
  uint64_t sequence() const { return sequence_; }
  void Detach() { clock_ = nullptr; }

  void Fire() {
    // Next period first, so a callback that re-arms or stops wins.
    due_ += interval_;
    sequence_ = clock_->NextSequence();
    if (OnTick) OnTick();
  }

 private:
  void Arm() {
    due_ = clock_ ? clock_->now_ + interval_ : 0;
    sequence_ = clock_ ? clock_->NextSequence() : 0;
  }

  VirtualClock* clock_;
  int interval_ = 0;
  bool enabled_ = false;
  int64_t due_ = 0;
  uint64_t sequence_ = 0;
};

VirtualClock::~VirtualClock() {
  for (auto* t : timers_) t->Detach();
}

std::unique_ptr<Timer> VirtualClock::MakeTimer() { return std::make_unique<VirtualTimer>(this); }

bool VirtualClock::FireNext(int64_t until) {
  VirtualTimer* next = nullptr;
  for (auto* t : timers_) {
    if (!t->Due(until)) continue;
    if (!next || t->due() < next->due() ||
        (t->due() == next->due() && t->sequence() < next->sequence())) {
      next = t;
    }
  }
  if (!next) return false;
  now_ = std::max(now_, next->due());
  next->Fire();
  return true;
}

void VirtualClock::Advance(int64_t ms) {
  const int64_t target = now_ + ms;
  while (FireNext(target)) {
  }
  now_ = std::max(now_, target);
}

bool VirtualClock::RunUntil(const std::function<bool()>& done, int64_t limit_ms) {
  const int64_t limit = now_ + limit_ms;
  while (!done()) {
    if (!FireNext(limit)) {
      now_ = std::max(now_, limit);
      return done();
    }
  }
  return true;
}

}  // namespace accelog
