#include "core/timer.h"

#include <utility>

namespace accelog {
namespace {

// Keeps its settings and never ticks: what the engines get before a front
// end installs a factory.
class IdleTimer : public Timer {
 public:
  void SetInterval(int ms) override { interval_ = ms; }
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool IsEnabled() const override { return enabled_; }

 private:
  int interval_ = 0;
  bool enabled_ = false;
};

TimerFactory& Factory() {
  static TimerFactory factory;
  return factory;
}

}  // namespace

std::unique_ptr<Timer> MakeTimer() {
  if (Factory()) return Factory()();
  return std::make_unique<IdleTimer>();
}

void SetTimerFactory(TimerFactory factory) { Factory() = std::move(factory); }

}  // namespace accelog
