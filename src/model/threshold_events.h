#pragma once
// Threshold events: maximal runs of consecutive non-zero points where a
// channel strays at least a threshold from its baseline.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/dataset.h"
#include "model/span_statistics.h"

namespace accelog {

// The channels an event can be on: X, Y, Z and the vector sum.
constexpr int kEventChannels = 4;

enum class Baseline { Mean, Zero };

struct EventOptions {
  double threshold = 0;  // mg, > 0
  Baseline baseline = Baseline::Mean;
  std::array<bool, kEventChannels> channels{true, true, true, true};
  int32_t min_points = 1;
};

struct ThresholdEvent {
  int channel = kX;  // kX..kV
  int32_t first = 0, last = 0;  // 1-based point numbers
  int32_t points = 0;           // last - first + 1
  double duration_s = 0;        // (last - first) x the sample interval
  double peak = 0;              // the value farthest from the baseline, first on ties
  int32_t peak_point = 0;
  std::string start;  // "2026-12-06T10:00:00.500"; empty when the point has no time
};

struct EventList {
  std::array<double, kEventChannels> baseline{};  // per channel, 0 with Baseline::Zero
  std::vector<ThresholdEvent> events;  // by first point, then channel X, Y, Z, V
};

// Events over the whole file on view.
EventList FindThresholdEvents(const Dataset& data, const EventOptions& options);

// A first threshold for a file, offered by the events window and the
// report: half the largest distance of an X, Y, Z or V value from its mean,
// rounded down to 0.1 mg, so the worst shock is always an event; 0 when
// every value equals its mean.
double SuggestedThreshold(const SpanStatistics& whole);

// The first point's time with milliseconds, in the CSV export's ISO form.
std::string PointIsoTime(const Dataset& data, int32_t point);
// That time as the windows and the report show it, with a blank for the T.
std::string ShownTime(std::string iso_time);

}  // namespace accelog
