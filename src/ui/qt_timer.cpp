#include "ui/qt_timer.h"

namespace accelog {

QtTimer::QtTimer() {
  // The block timer runs at 10 and 20 ms: a coarse timer would lose blocks
  // per second to its 5 % slack.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (OnTick) OnTick();
  });
}

void QtTimer::SetInterval(int ms) {
  interval_ = ms;
  // A window timer with interval 0 does not tick, even when enabled.
  if (ms <= 0) {
    timer_.stop();
  } else if (enabled_) {
    timer_.start(ms);  // a new interval re-arms
  } else {
    timer_.setInterval(ms);
  }
}

void QtTimer::SetEnabled(bool enabled) {
  if (!enabled) {
    enabled_ = false;
    timer_.stop();
  } else if (!enabled_) {
    enabled_ = true;
    if (interval_ > 0) timer_.start(interval_);
  }
}

std::unique_ptr<Timer> MakeQtTimer() { return std::make_unique<QtTimer>(); }

}  // namespace accelog
