#include "app/report_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "model/conversion.h"
#include "model/utils.h"

namespace accelog {
namespace {

const char* const kChannelLabels[kChannels] = {"X mg", "Y mg", "Z mg", "V mg", "AX deg", "AY deg", "AZ deg"};
const char* const kEventChannelNames[kEventChannels] = {"X", "Y", "Z", "V"};

std::string Format(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

std::string Decimals(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// A point's time as "2026-12-06 10:00:00.500".
std::string PointTimeText(const Dataset& data, int32_t point) { return ShownTime(PointIsoTime(data, point)); }

// "999.950 s (0:16:39.950)".
std::string DurationText(double seconds) {
  const auto ms = static_cast<long long>(std::llround(seconds * 1000));
  char buf[96];
  std::snprintf(buf, sizeof buf, "%.3f s (%lld:%02lld:%02lld.%03lld)", seconds, ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return buf;
}

// 1, 2 or 5 times a power of ten, about an eighth of the span.
double NiceStep(double span) {
  const double raw = span / 8;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double norm = raw / magnitude;
  return (norm <= 1 ? 1 : norm <= 2 ? 2 : norm <= 5 ? 5 : 10) * magnitude;
}

ReportTable StatisticsTable(const SpanStatistics& s) {
  ReportTable t;
  t.header = {"", "Count", "Min", "at", "Max", "at", "P-P", "Mean", "RMS", "Std", "Crest"};
  t.widths = {16, 14, 18, 14, 18, 14, 17, 17, 17, 17, 13};
  for (int c = 0; c < kChannels; ++c) {
    const ChannelSpan& ch = s.channels[c];
    if (s.count == 0) {
      t.rows.push_back({kChannelLabels[c], "0", "-", "-", "-", "-", "-", "-", "-", "-", "-"});
      continue;
    }
    t.rows.push_back({kChannelLabels[c], std::to_string(s.count), Decimals(ch.min, 2), std::to_string(ch.min_point),
                      Decimals(ch.max, 2), std::to_string(ch.max_point), Decimals(ch.p2p, 2), Decimals(ch.mean, 2),
                      Decimals(ch.rms, 2), Decimals(ch.std, 2), Decimals(ch.crest, 2)});
  }
  return t;
}

// The largest events by their distance from the baseline; the earlier one
// (by first point, then channel) on ties.
void PickLargest(const EventList& found, ReportContent& r) {
  auto size = [&](const ThresholdEvent& e) { return std::fabs(e.peak - found.baseline[static_cast<size_t>(e.channel)]); };
  std::vector<size_t> order(found.events.size());
  std::iota(order.begin(), order.end(), size_t{0});
  const size_t listed = std::min(order.size(), size_t{kReportListedEvents});
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(listed), order.end(),
                    [&](size_t a, size_t b) {
                      const double sa = size(found.events[a]), sb = size(found.events[b]);
                      return sa != sb ? sa > sb : a < b;
                    });
  r.event_count = static_cast<int32_t>(found.events.size());
  r.events.header = {"#", "Channel", "Start", "First", "Last", "Points", "Duration s", "Peak mg", "|Peak-mean|", "Peak at"};
  r.events.widths = {9, 15, 39, 15, 15, 13, 19, 17, 21, 15};
  r.events.left_columns = 3;
  for (size_t k = 0; k < listed; ++k) {
    const ThresholdEvent& e = found.events[order[k]];
    r.listed.push_back(e);
    r.listed_size.push_back(size(e));
    r.events.rows.push_back({std::to_string(k + 1), kEventChannelNames[e.channel], ShownTime(e.start), std::to_string(e.first),
                             std::to_string(e.last), std::to_string(e.points), Decimals(e.duration_s, 3),
                             Decimals(e.peak, 2), Decimals(size(e), 2), std::to_string(e.peak_point)});
  }
}

ReportChart MakeChart(const Dataset& data, const EventList& found) {
  ReportChart chart;
  const int32_t n = data.CountPoint;
  if (n < 1) return chart;
  chart.columns = static_cast<int>(std::min<int32_t>(n, kReportChartColumns));
  const auto column = [&](int32_t point) { return static_cast<int>(int64_t{point - 1} * chart.columns / n); };
  for (auto& curve : chart.curves) curve.assign(static_cast<size_t>(chart.columns), ReportColumn{});
  bool any = false;
  float low = 0, high = 0;
  // X..V only: the angles' conversion would cost more than the rest.
  const SampleColumns& samples = data.RealData;
  for (int32_t i = 1; i <= n; ++i) {
    if (samples.IsZeroPoint(i)) continue;
    const auto col = static_cast<size_t>(column(i));
    const std::array<float, 4> values = AccelerationOf(samples.RawX(i), samples.RawY(i), samples.RawZ(i));
    for (int c = 0; c < kEventChannels; ++c) {
      const float v = values[static_cast<size_t>(c)];
      ReportColumn& at = chart.curves[static_cast<size_t>(c)][col];
      if (!at.any) at = {true, v, v, v, v};
      at.last = v;
      at.min = std::min(at.min, v);
      at.max = std::max(at.max, v);
      if (!any) low = high = v, any = true;
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  if (high - low < 1e-3) low -= 1, high += 1;
  chart.step = NiceStep(high - low);
  chart.low = std::floor(low / chart.step) * chart.step;
  chart.high = std::ceil(high / chart.step) * chart.step;

  // Columns that hold a point of some event: +1 where an event's columns
  // begin, -1 after they end.
  std::vector<int> depth(static_cast<size_t>(chart.columns) + 1, 0);
  for (const ThresholdEvent& e : found.events) {
    ++depth[static_cast<size_t>(column(e.first))];
    --depth[static_cast<size_t>(column(e.last)) + 1];
  }
  int inside = 0, run_start = -1;
  for (int c = 0; c <= chart.columns; ++c) {
    inside += c < chart.columns ? depth[static_cast<size_t>(c)] : 0;
    const bool shaded = c < chart.columns && inside > 0;
    if (shaded && run_start < 0) run_start = c;
    if (!shaded && run_start >= 0) chart.shaded.emplace_back(run_start, c - 1), run_start = -1;
  }

  int32_t last_label = 0;
  for (int k = 0; k <= 4; ++k) {
    const int32_t point = 1 + static_cast<int32_t>(std::llround((n - 1) * k / 4.0));
    if (point == last_label) continue;
    last_label = point;
    const std::string time = PointTimeText(data, point);
    chart.x_labels.emplace_back((column(point) + 0.5) / chart.columns,
                                std::to_string(point) + (time.size() >= 19 ? "\n" + time.substr(11, 8) : ""));
  }
  return chart;
}

// Page 1 holds the head, the statistics, the chart and as many event rows
// as fit; the rest go on as many more pages as they need.
void LayOutPages(ReportContent& r) {
  const double m = ReportContent::kMargin, row = ReportContent::kRowHeight, heading = ReportContent::kHeadingHeight;
  const double width = r.page_width - 2 * m;
  const double limit = r.page_height - m - ReportContent::kFooterHeight;
  const int rows = static_cast<int>(r.events.rows.size());
  const bool note = !r.events_note.empty();
  ReportPage first;
  first.summary = true;
  first.head = {m, m, width, 9 + row * static_cast<double>(r.head.size())};
  first.statistics = {m, first.head.Bottom() + 3, width, heading + row * 8};
  first.chart = {m, first.statistics.Bottom() + 3, width, heading + 62 + 10};
  first.events.y = first.chart.Bottom() + 3;
  int next = 0;
  bool note_placed = !note;
  for (ReportPage page = first;; page = ReportPage{}) {
    if (!page.summary) page.events.y = m;
    page.events.x = m, page.events.w = width;
    double used = heading + (rows > 0 ? row : 0);  // the heading and the table's header
    const int room = std::max(0, static_cast<int>((limit - page.events.y - used) / row + 1e-9));
    page.first_row = next;
    page.rows = std::min(room, rows - next);
    next += page.rows;
    used += row * page.rows;
    if (next == rows && !note_placed && page.rows < room) {
      page.note = note_placed = true;
      used += row;
    }
    page.events.h = used;
    r.pages.push_back(page);
    if (next == rows && note_placed) break;
  }
  for (size_t p = 0; p < r.pages.size(); ++p)
    r.pages[p].footer = "Page " + std::to_string(p + 1) + " of " + std::to_string(r.pages.size());
}

}  // namespace

std::pair<double, double> ReportPaperSize(ReportPaper paper) {
  return paper == ReportPaper::Letter ? std::make_pair(215.9, 279.4) : std::make_pair(210.0, 297.0);
}

ReportContent MakeReport(const Dataset& data, const ReportRequest& request) {
  ReportContent r;
  std::tie(r.page_width, r.page_height) = ReportPaperSize(request.paper);
  r.title = "accelog report";
  r.whole = ComputeSpanStatistics(data, 1, data.CountPoint);
  const StatisticsTexts texts = data.StatisticsBoxTexts();
  const std::string start = data.CountPoint > 0 ? PointTimeText(data, 1) : "";
  const double interval_s = static_cast<double>(IntervalMilliseconds(data.Head.RecordInterval, data.Head.IntervalUnit)) / 1000;
  r.threshold_default = !request.threshold;
  r.threshold = request.threshold ? *request.threshold : SuggestedThreshold(r.whole);
  r.head = {{"File", request.file},
            {"Start", start.empty() ? texts.StartText : start},
            {"Interval", texts.IntervalText},
            {"Samples", std::to_string(data.CountPoint) + " (" + std::to_string(r.whole.count) + " not all-zero)"},
            {"Duration", DurationText(data.CountPoint > 1 ? (data.CountPoint - 1) * interval_s : 0)},
            {"Threshold", r.threshold > 0 ? Format("%.6g mg from the channel's mean", r.threshold) +
                                                (r.threshold_default ? " (default: half the largest distance)" : "")
                                          : "none: no X, Y, Z or V value differs from its mean"}};
  r.statistics = StatisticsTable(r.whole);

  EventList found;
  if (r.threshold > 0) {
    EventOptions options;
    options.threshold = r.threshold;
    found = FindThresholdEvents(data, options);
  }
  PickLargest(found, r);
  const auto more = r.event_count - static_cast<int32_t>(r.listed.size());
  r.events_heading = "Events: " + std::to_string(r.event_count) +
                     (more > 0 ? ", the " + std::to_string(r.listed.size()) + " largest" : "") +
                     (r.event_count > 1 ? ", largest first" : "");
  if (more > 0) {
    r.events_note = "and " + std::to_string(more) + " more event" + (more == 1 ? "" : "s");
  } else if (r.event_count == 0) {
    r.events_note = r.threshold > 0 ? "No events: no X, Y, Z or V value lies " + Format("%.6g", r.threshold) +
                                          " mg or more from its channel's mean."
                                    : "No events.";
  }
  r.chart = MakeChart(data, found);
  LayOutPages(r);
  return r;
}

}  // namespace accelog
