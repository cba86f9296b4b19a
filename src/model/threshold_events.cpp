#include "model/threshold_events.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/conversion.h"
#include "model/utils.h"

namespace accelog {
namespace {

// An event being followed on one channel.
struct OpenRun {
  bool open = false;
  ThresholdEvent event;
  double farthest = 0;  // |peak - baseline|
};

}  // namespace

std::string PointIsoTime(const Dataset& data, int32_t point) {
  const PointTime t = data.RealData.Time(point);
  if (!t.Stamped) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", t.Year, t.Month, t.Day, t.Hour, t.Minute,
                t.Second, data.RealData.Millisecond(point));
  return text;
}

double SuggestedThreshold(const SpanStatistics& whole) {
  if (whole.count == 0) return 0;
  double largest = 0;
  for (int c = 0; c < kEventChannels; ++c) {
    const ChannelSpan& ch = whole.channels[static_cast<size_t>(c)];
    largest = std::max({largest, ch.max - ch.mean, ch.mean - ch.min});
  }
  const double rounded = std::floor(largest / 2 * 10) / 10;
  return rounded > 0 ? rounded : largest / 2;
}

std::string ShownTime(std::string iso_time) {
  if (iso_time.size() > 10 && iso_time[10] == 'T') iso_time[10] = ' ';
  return iso_time;
}

EventList FindThresholdEvents(const Dataset& data, const EventOptions& options) {
  EventList list;
  const SampleColumns& samples = data.RealData;
  const int32_t count = std::min(data.CountPoint, samples.Size());
  // The values are made twice rather than kept: without the angles a pass
  // costs less than the memory to hold them.
  auto values_at = [&samples](int32_t i) { return AccelerationOf(samples.RawX(i), samples.RawY(i), samples.RawZ(i)); };
  if (options.baseline == Baseline::Mean) {
    std::array<double, kEventChannels> sum{};
    int32_t non_zero = 0;
    for (int32_t i = 1; i <= count; ++i) {
      if (samples.IsZeroPoint(i)) continue;
      ++non_zero;
      const std::array<float, 4> v = values_at(i);
      for (int c = 0; c < kEventChannels; ++c) sum[c] += v[c];
    }
    for (int c = 0; non_zero > 0 && c < kEventChannels; ++c) list.baseline[c] = sum[c] / non_zero;
  }

  const double interval_s =
      IntervalMilliseconds(static_cast<uint16_t>(data.Head.RecordInterval), data.Head.IntervalUnit) / 1000.0;
  std::array<OpenRun, kEventChannels> runs{};
  auto close = [&](int c) {
    OpenRun& r = runs[c];
    if (!r.open) return;
    r.open = false;
    ThresholdEvent& e = r.event;
    e.points = e.last - e.first + 1;
    if (e.points < options.min_points) return;
    e.duration_s = (e.last - e.first) * interval_s;
    e.start = PointIsoTime(data, e.first);
    list.events.push_back(e);
  };
  // Runs end in point order, so events close out of first-point order; they
  // are sorted once at the end.
  for (int32_t i = 1; i <= count; ++i) {
    const bool zero = samples.IsZeroPoint(i);
    const std::array<float, 4> values = zero ? std::array<float, 4>{} : values_at(i);
    for (int c = 0; c < kEventChannels; ++c) {
      if (!options.channels[c]) continue;
      const double v = values[c];
      const double distance = std::fabs(v - list.baseline[c]);
      if (zero || distance < options.threshold) {
        close(c);
        continue;
      }
      OpenRun& r = runs[c];
      if (!r.open) {
        r.open = true;
        r.event = ThresholdEvent{};
        r.event.channel = c;
        r.event.first = i;
        r.farthest = -1;
      }
      r.event.last = i;
      if (distance > r.farthest) r.farthest = distance, r.event.peak = v, r.event.peak_point = i;
    }
  }
  for (int c = 0; c < kEventChannels; ++c) close(c);
  std::stable_sort(list.events.begin(), list.events.end(), [](const ThresholdEvent& a, const ThresholdEvent& b) {
    return a.first != b.first ? a.first < b.first : a.channel < b.channel;
  });
  return list;
}

}  // namespace accelog
