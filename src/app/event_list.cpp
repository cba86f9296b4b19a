#include "app/event_list.h"

#include <algorithm>
#include <cmath>

#include "model/span_statistics.h"
#include "model/threshold_events.h"

namespace accelog {

double DefaultEventThreshold(const Dataset& data) {
  const double suggested = SuggestedThreshold(ComputeSpanStatistics(data, 1, data.CountPoint));
  return suggested > 0 ? suggested : 100;
}

PointSpan EventWindow(const ThresholdEvent& event, int32_t count) {
  const int32_t margin = std::max(10, event.points);
  return {std::max(1, event.first - margin), std::min(std::max(count, 1), event.last + margin)};
}

}  // namespace accelog
