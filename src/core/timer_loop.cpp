#include "core/timer_loop.h"

#include <algorithm>
#include <thread>

namespace accelog {

using Clock = std::chrono::steady_clock;

class TimerLoop::LoopTimer : public Timer {
 public:
  explicit LoopTimer(TimerLoop* loop) : loop_(loop) { loop_->timers_.push_back(this); }
  ~LoopTimer() override {
    if (!loop_) return;
    auto& v = loop_->timers_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }

  void SetInterval(int ms) override {
    interval_ = ms;
    if (enabled_) Arm();
  }
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override {
    if (enabled && !enabled_) Arm();
    enabled_ = enabled;
  }
  bool IsEnabled() const override { return enabled_; }

  bool Armed() const { return loop_ && enabled_ && interval_ > 0; }
  // Earlier due first; equal due times in arming order.
  bool Before(const LoopTimer& o) const { return due_ != o.due_ ? due_ < o.due_ : sequence_ < o.sequence_; }
  Clock::time_point due() const { return due_; }
  void Detach() { loop_ = nullptr; }

  void Fire() {
    // Next period first, so a callback that re-arms or stops wins.
    due_ += std::chrono::milliseconds(interval_);
    const auto now = Clock::now();
    if (due_ < now) due_ = now + std::chrono::milliseconds(interval_);
    sequence_ = ++loop_->sequence_;
    if (OnTick) OnTick();
  }

 private:
  void Arm() {
    due_ = Clock::now() + std::chrono::milliseconds(interval_);
    if (loop_) sequence_ = ++loop_->sequence_;
  }

  TimerLoop* loop_;
  int interval_ = 0;
  bool enabled_ = false;
  Clock::time_point due_{};
  uint64_t sequence_ = 0;
};

TimerLoop::~TimerLoop() {
  for (auto* t : timers_) t->Detach();
}

std::unique_ptr<Timer> TimerLoop::MakeTimer() { return std::make_unique<LoopTimer>(this); }

void TimerLoop::Run(const std::function<bool()>& done) {
  while (!done()) {
    LoopTimer* next = nullptr;
    for (auto* t : timers_) {
      if (t->Armed() && (!next || t->Before(*next))) next = t;
    }
    if (!next) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    if (next->due() > Clock::now()) std::this_thread::sleep_until(next->due());
    next->Fire();
  }
}

}  // namespace accelog
