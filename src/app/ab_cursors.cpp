#include "app/ab_cursors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/chart.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/threshold_events.h"
#include "model/utils.h"

namespace accelog {

std::string DifferenceText(float a, float b) {
  auto decimals = [](const std::string& text) {
    const size_t dot = text.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
  };
  // From the texts the read-out shows, so that the difference is theirs.
  const std::string ta = FloatText(a), tb = FloatText(b);
  const int d = std::max(decimals(ta), decimals(tb));
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", d, std::strtod(tb.c_str(), nullptr) - std::strtod(ta.c_str(), nullptr));
  return text;
}

AbCursors::AbCursors(Chart& chart) : chart_(chart) {}

bool AbCursors::Available() const {
  const Dataset& d = chart_.Data();
  return d.DataLoaded && !d.FrequencyView && !d.FrequencyFileLoaded && d.CountPoint > 0 &&
         d.MenuCommandCode != MenuOperation::LiveData && d.MenuCommandCode != MenuOperation::LiveSpectrum;
}

int32_t AbCursors::Clamp(int32_t p) const { return std::clamp(p, 1, std::max(1, chart_.Data().CountPoint)); }

void AbCursors::Place(int32_t a, int32_t b) {
  a_ = Clamp(a);
  b_ = Clamp(b);
}

void AbCursors::SetShown(bool on) {
  shown_ = on && Available();
  dragging_ = AbCursor::None;
  if (!shown_) return;
  FollowFile();
  const Dataset& d = chart_.Data();
  auto in_window = [&d](int32_t p) { return p >= d.DispStartPoint && p <= d.DispEndPoint; };
  if (!in_window(a_) && !in_window(b_)) PlaceInWindow();
}

void AbCursors::PlaceInWindow() {
  const Dataset& d = chart_.Data();
  const int32_t span = d.DispEndPoint - d.DispStartPoint;
  Place(d.DispStartPoint + span / 4, d.DispStartPoint + span * 3 / 4);
}

void AbCursors::FollowFile() {
  if (!Available()) return;
  const Dataset& d = chart_.Data();
  const std::string file = d.DataFileName + '\n' + std::to_string(d.CountPoint);
  if (file == file_) return;
  file_ = file;
  PlaceInWindow();
}

double AbCursors::ColumnWidth() const { return 50.0 * static_cast<double>(chart_.state.TwipsPerUnitX); }

std::optional<float> AbCursors::PlotX(int32_t p) const {
  const Dataset& d = chart_.Data();
  if (!Available() || p < d.DispStartPoint || p > d.DispEndPoint) return std::nullopt;
  for (int c = 1; c <= kSlots; ++c) {
    const int32_t first = d.SlotPoint[c], n = d.SlotUsed[c];
    if (n <= 0 || p < first || p >= first + n) continue;
    // Points of a wide column spread over its width, centred on its curve line.
    const double offset = ((p - first + 0.5) / n - 0.5) * ColumnWidth();
    return static_cast<float>(chart_.CurveColumnX(c) + offset);
  }
  return std::nullopt;
}

int32_t AbCursors::PointAt(float x) const {
  const Dataset& d = chart_.Data();
  int best = 0;
  double best_distance = 0;
  for (int c = 1; c <= kSlots; ++c) {
    if (d.SlotUsed[c] <= 0) continue;
    const double distance = std::fabs(x - chart_.CurveColumnX(c));
    if (best == 0 || distance < best_distance) best = c, best_distance = distance;
  }
  if (best == 0) return Clamp(d.DispStartPoint);
  const int32_t n = d.SlotUsed[best];
  const double fraction = (x - chart_.CurveColumnX(best)) / ColumnWidth() + 0.5;
  const auto index = static_cast<int32_t>(std::floor(fraction * n));
  return Clamp(d.SlotPoint[best] + std::clamp(index, 0, n - 1));
}

bool AbCursors::Grab(float x, float reach) {
  dragging_ = AbCursor::None;
  if (!shown_ || !Available()) return false;
  double nearest = reach;
  for (AbCursor which : {AbCursor::A, AbCursor::B}) {
    const std::optional<float> at = PlotX(which == AbCursor::A ? a_ : b_);
    if (!at) continue;
    const double distance = std::fabs(*at - x);
    if (distance <= nearest) nearest = distance, dragging_ = which;
  }
  return dragging_ != AbCursor::None;
}

bool AbCursors::DragTo(float x) {
  if (dragging_ == AbCursor::None || !Available()) return false;
  (dragging_ == AbCursor::A ? a_ : b_) = PointAt(x);
  return true;
}

AbReadOut AbCursors::ReadOut() const {
  const Dataset& d = chart_.Data();
  auto point = [&d](int32_t p) {
    AbPoint out;
    out.point = p;
    out.time = ShownTime(PointIsoTime(d, p));
    const RealDataRecord r = d.RealData[p];
    out.values = {r.X, r.Y, r.Z, r.V};
    return out;
  };
  AbReadOut r;
  r.a = point(a_);
  r.b = point(b_);
  r.points = b_ - a_;
  const int64_t interval_ms = IntervalMilliseconds(static_cast<uint16_t>(d.Head.RecordInterval), d.Head.IntervalUnit);
  r.seconds = static_cast<double>(r.points) * static_cast<double>(interval_ms) / 1000.0;
  for (size_t k = 0; k < r.values.size(); ++k) r.values[k] = r.b.values[k] - r.a.values[k];
  r.hertz = r.seconds == 0 ? 0 : 1.0 / std::fabs(r.seconds);
  return r;
}

PointSpan AbCursors::StatisticsSpan() const {
  if (shown_) return {std::min(a_, b_), std::max(a_, b_)};
  const Dataset& d = chart_.Data();
  return {d.DispStartPoint, d.DispEndPoint};
}

void AbCursors::ShowWindow(PointSpan window) {
  Dataset& d = chart_.Data();
  d.DispStartPoint = Clamp(std::min(window.first, window.last));
  d.DispEndPoint = Clamp(std::max(window.first, window.last));
  chart_.PlaceScrollMarkers();
  d.MapRangeToSlots(d.DispStartPoint, d.DispEndPoint);
  chart_.HideLockMarkers();
  chart_.DrawOutOfSight(d.DispStartPoint, d.DispEndPoint);
}

void AbCursors::ZoomToSpan() {
  if (!shown_ || !Available()) return;
  ShowWindow(StatisticsSpan());
}

void AbCursors::ShowSpan(PointSpan window, PointSpan cursors) {
  if (!Available()) return;
  FollowFile();
  shown_ = true;
  Place(cursors.first, cursors.last);
  ShowWindow(window);
}

}  // namespace accelog
