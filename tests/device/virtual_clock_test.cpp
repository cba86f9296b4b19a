#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/timer.h"
#include "core/virtual_clock.h"

namespace accelog {
namespace {

TEST(VirtualClock, TicksInDueOrderAtTheirIntervals) {
  VirtualClock clock;
  std::vector<std::string> log;
  auto a = clock.MakeTimer();
  auto b = clock.MakeTimer();
  a->OnTick = [&] { log.push_back("a" + std::to_string(clock.Now())); };
  b->OnTick = [&] { log.push_back("b" + std::to_string(clock.Now())); };
  a->Start(20);
  b->Start(50);
  clock.Advance(100);
  // At 100 both are due; b's period was armed at 50, a's at 80, so b goes first.
  EXPECT_EQ(log, (std::vector<std::string>{"a20", "a40", "b50", "a60", "a80", "b100", "a100"}));
  EXPECT_EQ(clock.Now(), 100);
}

TEST(VirtualClock, WindowTimerSemantics) {
  VirtualClock clock;
  auto t = clock.MakeTimer();
  std::vector<int64_t> ticks;
  t->OnTick = [&] { ticks.push_back(clock.Now()); };

  // Created disabled: nothing ticks.
  t->SetInterval(10);
  clock.Advance(50);
  EXPECT_TRUE(ticks.empty());

  t->SetEnabled(true);  // due at 60
  clock.Advance(5);     // 55
  t->SetEnabled(true);  // already running: phase kept
  clock.Advance(5);
  EXPECT_EQ(ticks, (std::vector<int64_t>{60}));

  clock.Advance(5);      // 65
  t->SetInterval(10);    // re-arms: due at 75, not 70
  clock.Advance(12);
  EXPECT_EQ(ticks, (std::vector<int64_t>{60, 75}));

  t->SetInterval(0);  // enabled, but an interval of 0 never ticks
  EXPECT_TRUE(t->IsEnabled());
  clock.Advance(100);
  EXPECT_EQ(ticks.size(), 2u);
}

TEST(VirtualClock, TimersOutlivingTheClock) {
  std::unique_ptr<Timer> survivor;
  {
    VirtualClock clock;
    survivor = clock.MakeTimer();
    survivor->Start(10);
  }
  // The clock is gone; the timer is inert but safe.
  survivor->SetInterval(5);
  survivor->Stop();
  EXPECT_FALSE(survivor->IsEnabled());
}

}  // namespace
}  // namespace accelog
