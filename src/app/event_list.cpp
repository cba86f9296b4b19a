#include "app/event_list.h"

#include <algorithm>
#include <cmath>

#include "model/span_statistics.h"
#include "model/threshold_events.h"

namespace accelog {

double DefaultEventThreshold(const Dataset& data) {
  const SpanStatistics s = ComputeSpanStatistics(data, 1, data.CountPoint);
  double farthest = 0;
  for (int c = 0; c < kEventChannels && s.count > 0; ++c) {
    const ChannelSpan& ch = s.channels[static_cast<size_t>(c)];
    farthest = std::max({farthest, ch.max - ch.mean, ch.mean - ch.min});
  }
  const double half = farthest / 2;
  if (!(half > 0)) return 100;
  const double decade = std::pow(10.0, std::floor(std::log10(half)));
  for (double step : {5.0, 2.0}) {
    if (half >= step * decade) return step * decade;
  }
  return decade;
}

PointSpan EventWindow(const ThresholdEvent& event, int32_t count) {
  const int32_t margin = std::max(10, event.points);
  return {std::max(1, event.first - margin), std::min(std::max(count, 1), event.last + margin)};
}

}  // namespace accelog
