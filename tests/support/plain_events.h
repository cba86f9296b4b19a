#pragma once
// Threshold events as a plain scan of its own finds them, to hold the
// program's against: a baseline per channel (the mean over the non-zero
// points, or 0), then the runs of non-zero points at or beyond the threshold
// from it, one point at a time.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "model/conversion.h"
#include "model/dataset.h"
#include "support/kvx_builder.h"

namespace accelog::testing {

struct PlainEvent {
  int channel, first, last;  // X, Y, Z, V; points from 1
  double peak;               // the value farthest from the baseline, the first of equals
  int peak_point;
  bool operator==(const PlainEvent&) const = default;
};

// Point i + 1 of a recording; none for an all-zero point.
using PlainPoints = std::vector<std::optional<RealDataRecord>>;

inline PlainPoints PointsOf(const std::vector<Sample>& samples) {
  PlainPoints points;
  for (const Sample& s : samples) {
    RealDataRecord r{};
    ConvertSample(s.x, s.y, s.z, r);
    points.push_back(s.x == 0 && s.y == 0 && s.z == 0 ? std::nullopt : std::optional(r));
  }
  return points;
}

inline PlainPoints PointsOf(const Dataset& data) {
  PlainPoints points;
  for (int32_t i = 1; i <= data.CountPoint; ++i)
    points.push_back(data.RealData.IsZeroPoint(i) ? std::nullopt : std::optional(data.RealData[i]));
  return points;
}

inline std::array<double, 4> PlainMeans(const PlainPoints& points) {
  std::array<double, 4> sum{};
  int n = 0;
  for (const auto& p : points) {
    if (!p) continue;
    ++n;
    for (int c = 0; c < 4; ++c) sum[c] += ChannelValue(*p, c);
  }
  for (double& s : sum) s /= n;
  return sum;
}

// By first point, then channel.
inline std::vector<PlainEvent> PlainEvents(const PlainPoints& points, double threshold,
                                           const std::array<double, 4>& base, int min_points = 1) {
  std::vector<PlainEvent> events;
  for (int c = 0; c < 4; ++c) {
    auto away = [&](size_t i) { return points[i] ? std::fabs(ChannelValue(*points[i], c) - base[c]) : -1.0; };
    for (size_t i = 0; i < points.size();) {
      if (away(i) < threshold) {
        ++i;
        continue;
      }
      PlainEvent e{c, int(i) + 1, 0, ChannelValue(*points[i], c), int(i) + 1};
      for (; i < points.size() && away(i) >= threshold; ++i) {
        if (away(i) > std::fabs(e.peak - base[c])) e.peak = ChannelValue(*points[i], c), e.peak_point = int(i) + 1;
        e.last = int(i) + 1;
      }
      if (e.last - e.first + 1 >= min_points) events.push_back(e);
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [](auto& a, auto& b) { return std::pair(a.first, a.channel) < std::pair(b.first, b.channel); });
  return events;
}

}  // namespace accelog::testing
