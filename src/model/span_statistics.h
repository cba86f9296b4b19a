#pragma once
// Statistics of a span of points, beyond the statistics panel: over the
// points that are not all-zero (the ones the chart draws), per channel, in
// double precision from the float values a point shows.
#include <array>
#include <cstdint>

#include "model/dataset.h"

namespace accelog {

struct ChannelSpan {
  double min = 0, max = 0;
  int32_t min_point = 0, max_point = 0;  // the first point on ties
  double p2p = 0, mean = 0, rms = 0, std = 0;
  double crest = 0;  // max(|min|, |max|) / rms; 0 when rms is 0
};

struct SpanStatistics {
  int32_t from = 0, to = 0;  // the span after clipping to the file
  int32_t count = 0;         // points in it that are not all-zero
  std::array<ChannelSpan, kChannels> channels{};
};

// Points from..to (1-based), clipped to 1..CountPoint.
SpanStatistics ComputeSpanStatistics(const Dataset& data, int32_t from, int32_t to);

}  // namespace accelog
