#pragma once
// A window timer without the window toolkit: an interval, an enabled flag and
// a tick callback. The engines own their timers through this interface; the
// programs hand them Qt timers, the CLI timers of its loop, tests timers of a
// virtual clock.
#include <functional>
#include <memory>

namespace accelog {

class Timer {
 public:
  virtual ~Timer() = default;

  // Like a window timer: a new interval re-arms a running timer, and an
  // interval of 0 or less never ticks.
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  // Enabling a running timer leaves its phase alone.
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;

  void Start(int ms) {
    SetInterval(ms);
    SetEnabled(true);
  }
  void Stop() { SetEnabled(false); }

  // Runs on every tick; the timer keeps ticking until it is disabled.
  std::function<void()> OnTick;
};

using TimerFactory = std::function<std::unique_ptr<Timer>()>;

}  // namespace accelog
