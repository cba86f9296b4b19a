#pragma once
// Two cursors, A and B, over the acceleration chart. They are kept as point
// numbers, so zooming and scrolling leave them on their points; the plot x of
// a cursor is worked out from the chart's column map each time it is drawn.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace accelog {

class Chart;

enum class AbCursor { None, A, B };

// One cursor's point as the read-out shows it: X, Y, Z, V in mg.
struct AbPoint {
  int32_t point = 0;
  std::string time;  // date and time with milliseconds
  std::array<float, 4> values{};
};

struct AbReadOut {
  AbPoint a, b;
  // B - A.
  int32_t points = 0;
  double seconds = 0;
  std::array<float, 4> values{};
  double hertz = 0;  // 1 / |seconds|; 0 when both cursors are on one point
};

// b - a as their texts give it, to as many decimals as the longer has: 7.8, not 7.799988.
std::string DifferenceText(float a, float b);

// Points first..last, 1-based.
struct PointSpan {
  int32_t first = 0, last = 0;
};

class AbCursors {
 public:
  explicit AbCursors(Chart& chart);

  // A file is on view in the acceleration chart (not a spectrum, not a live run).
  bool Available() const;
  bool Shown() const { return shown_; }
  // Turning them on leaves cursors that are on the file where they were;
  // otherwise they go to a quarter and three quarters of the shown window.
  void SetShown(bool on);
  // Another file came into view: cursors of the last one go into the window.
  void FollowFile();

  int32_t A() const { return a_; }
  int32_t B() const { return b_; }
  // Both cursors, each clamped to the file.
  void Place(int32_t a, int32_t b);

  // The plot x (twips) of point p, or nothing when p is outside the shown window.
  std::optional<float> PlotX(int32_t p) const;
  // The point under plot x: the nearest column with points, and within a
  // column of several points, the one at that fraction of its width.
  int32_t PointAt(float x) const;

  // Mouse: a press within `reach` twips of a shown cursor takes it; moves
  // drag it to the point under the pointer until the release.
  bool Grab(float x, float reach);
  bool DragTo(float x);
  void Release() { dragging_ = AbCursor::None; }
  AbCursor Dragging() const { return dragging_; }

  AbReadOut ReadOut() const;
  // What the span statistics cover: A..B while the cursors are shown, the
  // shown window otherwise.
  PointSpan StatisticsSpan() const;

  // "Zoom to A-B": the chart shows the points between the cursors.
  void ZoomToSpan();
  // The chart shows `window` with the cursors shown on `cursors`' ends.
  void ShowSpan(PointSpan window, PointSpan cursors);

 private:
  double ColumnWidth() const;
  int32_t Clamp(int32_t p) const;
  // A quarter and three quarters into the shown window.
  void PlaceInWindow();
  void ShowWindow(PointSpan window);

  Chart& chart_;
  bool shown_ = false;
  int32_t a_ = 0, b_ = 0;
  AbCursor dragging_ = AbCursor::None;
  std::string file_;  // the file the cursors were placed on, with its count
};

}  // namespace accelog
