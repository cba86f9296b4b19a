#include "app/event_list.h"

#include <cmath>

#include "app/chart_fixture.h"
#include "model/threshold_events.h"

namespace accelog::testing {
namespace {

class EventListTest : public ChartTest {};

TEST_F(EventListTest, DefaultThresholdIsHalfTheStrongestMovement) {
  FillPoints(Flat(50));
  EXPECT_EQ(DefaultEventThreshold(data_), 100);  // nothing moves
  for (int16_t spike : {1, 3, 40, 90, 700, -300, -2000}) {
    std::vector<KvxSample> samples = Flat(200);
    samples[120].y = static_cast<int16_t>(10 + spike);
    samples[121] = {0, 0, 0};  // all-zero points count for nothing
    FillPoints(samples);
    const double t = DefaultEventThreshold(data_);
    EXPECT_NEAR(t * 10, std::round(t * 10), 1e-9) << t;  // whole tenths of a mg
    EventOptions options;
    options.threshold = t;
    const EventList list = FindThresholdEvents(data_, options);
    ASSERT_FALSE(list.events.empty()) << spike;
    EXPECT_EQ(list.events.front().first, 121) << spike;  // point 121 holds samples[120]
    // Half the farthest distance, less at most a tenth.
    options.threshold = t * 2;
    EXPECT_FALSE(FindThresholdEvents(data_, options).events.empty()) << spike;
    options.threshold = t * 2 + 0.2 + 1e-9;
    EXPECT_TRUE(FindThresholdEvents(data_, options).events.empty()) << spike;
  }
}

TEST(EventWindowTest, AsManyPointsAgainOnEitherSideWithinTheFile) {
  auto window = [](int32_t first, int32_t last, int32_t count) {
    ThresholdEvent e;
    e.first = first, e.last = last, e.points = last - first + 1;
    const PointSpan w = EventWindow(e, count);
    return std::pair(w.first, w.last);
  };
  EXPECT_EQ(window(50, 50, 1000), std::pair(40, 60));
  EXPECT_EQ(window(50, 79, 1000), std::pair(20, 109));
  EXPECT_EQ(window(3, 8, 12), std::pair(1, 12));
}

}  // namespace
}  // namespace accelog::testing
