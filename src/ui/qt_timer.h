#pragma once
// Engine timers on QTimer, for the programs with a Qt event loop.
#include <QTimer>

#include "core/timer.h"

namespace accelog {

class QtTimer : public Timer {
 public:
  QtTimer();
  void SetInterval(int ms) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override { return enabled_; }

 private:
  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = false;
};

// The program's timers, for engines built with a TimerFactory.
std::unique_ptr<Timer> MakeQtTimer();

}  // namespace accelog
