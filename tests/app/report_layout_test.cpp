// The report's content against a plain computation on a generated recording:
// which events are listed, how many more there are, the shaded chart columns
// and how the events table runs over pages.
#include <gtest/gtest.h>

#include <set>

#include "app/report_layout.h"
#include "support/kvx_maker.h"
#include "support/plain_events.h"

namespace accelog::testing {
namespace {

class ReportLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Gaps of zero points, quantised values with many ties, shocks on the
    // first and the last point.
    auto samples = RealisticSamples(3000, 500, 4);
    samples.front() = {300, 0, 256};
    samples.back() = {-290, 40, 256};
    for (int k = 0; k < 60; ++k) samples[static_cast<size_t>(50 + 47 * k)].y = static_cast<int16_t>(80 + k % 7 * 10);
    ASSERT_TRUE(WriteKvx(folder_.File("r.kvx"), samples));
    ASSERT_EQ(data_.Open(folder_.File("r.kvx")), OpenResult::Ok);
  }
  TempFolder folder_;
  Dataset data_;
};

TEST_F(ReportLayoutTest, ListsTheLargestEventsAndCountsTheRest) {
  const PlainPoints points = PointsOf(data_);
  const auto mean = PlainMeans(points);
  auto size = [&](const PlainEvent& e) { return std::fabs(e.peak - mean[e.channel]); };
  double largest = 0;
  for (const PlainEvent& e : PlainEvents(points, 0, mean)) largest = std::max(largest, size(e));
  // 40 mg: hundreds of events; 700 mg: a few; the default; above every value: none.
  for (std::optional<double> threshold : {std::optional(40.0), std::optional(700.0), std::optional<double>(), std::optional(1e5)}) {
    SCOPED_TRACE(threshold ? *threshold : -1);
    const ReportContent r = MakeReport(data_, {"r.kvx", threshold, ReportPaper::A4});
    if (!threshold) {
      // Half the largest distance, rounded down: the worst shock heads the list.
      EXPECT_LE(r.threshold, largest / 2);
      EXPECT_GT(r.threshold, largest / 2 - 0.1);
      ASSERT_FALSE(r.listed.empty());
      EXPECT_NEAR(r.listed_size[0], largest, 1e-6);
    }
    const std::vector<PlainEvent> found = PlainEvents(points, r.threshold, mean);
    EXPECT_EQ(r.event_count, static_cast<int32_t>(found.size()));
    std::vector<PlainEvent> runs = found;
    std::stable_sort(runs.begin(), runs.end(), [&](auto& a, auto& b) { return size(a) > size(b); });
    const size_t listed = std::min<size_t>(runs.size(), kReportListedEvents);
    ASSERT_EQ(r.listed.size(), listed);
    ASSERT_EQ(r.events.rows.size(), listed);
    for (size_t k = 0; k < listed; ++k) {
      const ThresholdEvent& e = r.listed[k];
      EXPECT_EQ((PlainEvent{e.channel, e.first, e.last, e.peak, e.peak_point}), runs[k]) << k;
      EXPECT_NEAR(r.listed_size[k], size(runs[k]), 1e-6) << k;
    }
    if (runs.size() > listed) {
      EXPECT_EQ(r.events_note, "and " + std::to_string(runs.size() - listed) + " more events");
    } else {
      EXPECT_EQ(r.events_note.rfind("No events", 0) == 0, runs.empty()) << r.events_note;
    }
    // Every column that holds a point of some event is shaded, and no other.
    std::set<int> want, shaded;
    for (const PlainEvent& e : found) {
      for (int32_t p = e.first; p <= e.last; ++p) want.insert((p - 1) * r.chart.columns / data_.CountPoint);
    }
    for (const auto& [from, to] : r.chart.shaded) {
      for (int c = from; c <= to; ++c) shaded.insert(c);
    }
    EXPECT_EQ(shaded, want);
  }
  EXPECT_GT(MakeReport(data_, {"r.kvx", 40.0, ReportPaper::A4}).event_count, 100);
  EXPECT_LT(MakeReport(data_, {"r.kvx", 700.0, ReportPaper::A4}).event_count, kReportListedEvents);
}

// Each listed row once, in order, inside the page; a second page only when
// the first is full.
TEST_F(ReportLayoutTest, EventRowsRunOverPagesOnlyWhenTheyMustFit) {
  for (ReportPaper paper : {ReportPaper::A4, ReportPaper::Letter}) {
    for (double threshold : {40.0, 300.0, 470.0, 700.0, 1e5}) {  // 470: 20 events, a full first A4 page
      SCOPED_TRACE(threshold);
      const ReportContent r = MakeReport(data_, {"r.kvx", threshold, paper});
      EXPECT_EQ(r.page_height, paper == ReportPaper::A4 ? 297.0 : 279.4);
      ASSERT_FALSE(r.pages.empty());
      const double limit = r.page_height - ReportContent::kMargin - ReportContent::kFooterHeight;
      int next = 0, notes = 0;
      for (size_t p = 0; p < r.pages.size(); ++p) {
        const ReportPage& page = r.pages[p];
        EXPECT_EQ(page.summary, p == 0);
        EXPECT_EQ(page.first_row, next);
        next += page.rows;
        notes += page.note;
        EXPECT_LE(page.events.Bottom(), limit + 1e-9);
        if (p == 0) {
          EXPECT_GE(page.events.y, page.chart.Bottom());
        }
        if (p + 1 < r.pages.size()) {
          EXPECT_GT(page.events.Bottom() + ReportContent::kRowHeight, limit);
        }
        EXPECT_EQ(page.footer, "Page " + std::to_string(p + 1) + " of " + std::to_string(r.pages.size()));
      }
      EXPECT_EQ(next, static_cast<int>(r.listed.size()));
      EXPECT_EQ(notes, r.events_note.empty() ? 0 : 1);
      EXPECT_EQ(r.pages.back().note, !r.events_note.empty());
    }
  }
}

}  // namespace
}  // namespace accelog::testing
