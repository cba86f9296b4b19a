#include "model/span_statistics.h"

#include <algorithm>
#include <cmath>

#include "model/conversion.h"

namespace accelog {

SpanStatistics ComputeSpanStatistics(const Dataset& data, int32_t from, int32_t to) {
  SpanStatistics s;
  s.from = std::max(from, 1);
  s.to = std::min(to, data.CountPoint);
  // Welford's running mean gives the deviations without cancelling: a
  // constant channel has a deviation of exactly 0.
  std::array<double, kChannels> sum{}, squares{}, running_mean{}, deviations{};
  ForEachPointInOrder(data.RealData, s.from, s.to, [&](int32_t first, int32_t last, const float(*run)[kChannels]) {
    for (int32_t i = first; i <= last; ++i) {
      if (data.RealData.IsZeroPoint(i)) continue;
      ++s.count;
      for (int c = 0; c < kChannels; ++c) {
        const double v = run[i - first][c];
        ChannelSpan& ch = s.channels[c];
        if (s.count == 1 || v < ch.min) ch.min = v, ch.min_point = i;
        if (s.count == 1 || v > ch.max) ch.max = v, ch.max_point = i;
        sum[c] += v;
        squares[c] += v * v;
        const double delta = v - running_mean[c];
        running_mean[c] += delta / s.count;
        deviations[c] += delta * (v - running_mean[c]);
      }
    }
  });
  if (s.count == 0) return s;
  for (int c = 0; c < kChannels; ++c) {
    ChannelSpan& ch = s.channels[c];
    ch.p2p = ch.max - ch.min;
    ch.mean = sum[c] / s.count;
    ch.rms = std::sqrt(squares[c] / s.count);
    ch.std = std::sqrt(deviations[c] / s.count);  // population
    ch.crest = ch.rms == 0 ? 0 : std::max(std::fabs(ch.min), std::fabs(ch.max)) / ch.rms;
  }
  return s;
}

}  // namespace accelog
