#pragma once
// Runs the Qt event loop until the condition holds or the time is up; for
// tests that drive real timers and child programs.
#include <QApplication>
#include <QElapsedTimer>

#include <functional>

namespace accelog::testing {

inline bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

}  // namespace accelog::testing
