#pragma once
// The one-page report of a recording: what goes on the page and where. The
// head, the statistics of the whole file, the largest threshold events and
// the whole-file chart of X, Y, Z and V with the events' spans shaded. The
// events table runs on to more pages only when it does not fit. Qt-free:
// the window and accelog-cli paint the same content (ui/report_painter).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/dataset.h"
#include "model/span_statistics.h"
#include "model/threshold_events.h"

namespace accelog {

enum class ReportPaper { A4, Letter };

struct ReportRequest {
  std::string file;                 // the name the head shows
  std::optional<double> threshold;  // mg, > 0; none: SuggestedThreshold
  ReportPaper paper = ReportPaper::A4;
};

inline constexpr int kReportListedEvents = 40;
// The chart's columns across the page; a shorter file gets one per point.
inline constexpr int kReportChartColumns = 600;

// Millimetres from the page's top left corner.
struct ReportBox {
  double x = 0, y = 0, w = 0, h = 0;
  double Bottom() const { return y + h; }
};

struct ReportTable {
  std::vector<std::string> header;
  std::vector<double> widths;  // mm per column
  int left_columns = 1;        // the first ones hold words, left aligned; numbers go right
  std::vector<std::vector<std::string>> rows;
};

// The non-zero points of one chart column of one channel, in mg.
struct ReportColumn {
  bool any = false;
  float first = 0, last = 0, min = 0, max = 0;
};

struct ReportChart {
  int columns = 0;
  std::array<std::vector<ReportColumn>, kEventChannels> curves;  // X, Y, Z, V
  double low = 0, high = 0, step = 0;  // mg axis: grid lines from low to high every step
  // Column runs [first, last] that hold a point of an event, in order.
  std::vector<std::pair<int, int>> shaded;
  // Labels under the chart: where (0 left .. 1 right) and the text (point, time).
  std::vector<std::pair<double, std::string>> x_labels;
};

struct ReportPage {
  bool summary = false;  // head, statistics and chart (the first page)
  ReportBox head, statistics, chart;
  ReportBox events;            // the events section on this page: heading, header and rows
  int first_row = 0, rows = 0;  // rows of the events table on this page
  bool note = false;            // the events note ends this page
  std::string footer;           // "Page 1 of 2"
};

struct ReportContent {
  double page_width = 0, page_height = 0;  // mm, upright
  std::string title;
  std::vector<std::pair<std::string, std::string>> head;  // "File", "Start", "Interval", "Samples", "Duration"
  SpanStatistics whole;
  ReportTable statistics;  // X, Y, Z, V, AX, AY, AZ; empty rows for a file without a non-zero point
  double threshold = 0;    // mg; 0 when no point strays from its channel's mean
  bool threshold_default = false;
  std::string events_heading;
  int32_t event_count = 0;  // all events found
  std::vector<ThresholdEvent> listed;  // the largest kReportListedEvents, largest first
  std::vector<double> listed_size;     // their |peak - baseline|
  ReportTable events;
  std::string events_note;  // "and N more events", or why there are none; may be empty
  ReportChart chart;
  std::vector<ReportPage> pages;
  static constexpr double kMargin = 15;       // mm on every side
  static constexpr double kRowHeight = 4.2;   // table rows and head lines
  static constexpr double kHeadingHeight = 7;  // a section's heading
  static constexpr double kFooterHeight = 6;   // the page number, above the bottom margin
};

// The report of the file on view, points 1..CountPoint.
ReportContent MakeReport(const Dataset& data, const ReportRequest& request);

// Paper sizes, mm upright.
std::pair<double, double> ReportPaperSize(ReportPaper paper);

}  // namespace accelog
