#include "app/chart_scene.h"

namespace accelog {

uint32_t CurveColor(int k) {
  static const uint32_t kColors[kCurves] = {0xFF0000, 0x00FF00, 0x800080, 0xFF00FF,
                                            0x0000FF, 0x00FFFF, 0x808080};
  return k >= 0 && k < kCurves ? kColors[k] : 0x000000;
}

namespace {
bool Inside(const SceneControl& f, TwipPoint origin, int32_t x, int32_t y) {
  return x >= origin.X && x < origin.X + f.Width && y >= origin.Y && y < origin.Y + f.Height;
}
}  // namespace

TwipPoint ChartSceneRecord::FrameOrigin(const SceneControl& frame) const {
  const ChartSceneRecord& s = *this;
  if (&frame == &s.StatisticsPanel || &frame == &s.OuterBorder) return {frame.Left, frame.Top};
  if (&frame == &s.StatisticsColumns) return {s.StatisticsPanel.Left + frame.Left, s.StatisticsPanel.Top + frame.Top};
  const TwipPoint f2{s.OuterBorder.Left, s.OuterBorder.Top};
  if (&frame == &s.InnerBorder) return {f2.X + frame.Left, f2.Y + frame.Top};
  const TwipPoint f3{f2.X + s.InnerBorder.Left, f2.Y + s.InnerBorder.Top};
  return {f3.X + frame.Left, f3.Y + frame.Top};
}

TwipPoint ChartSceneRecord::PlotOrigin() const { return FrameOrigin(PlotFrame); }

TwipPoint ChartSceneRecord::TrackOrigin() const {
  const TwipPoint f8 = FrameOrigin(ScrollStrip);
  return {f8.X + ScrollTrack.Left, f8.Y + ScrollTrack.Top};
}

ChartArea ChartSceneRecord::HitTest(int32_t x, int32_t y) const {
  const ChartSceneRecord& s = *this;
  if (Inside(s.PlotFrame, PlotOrigin(), x, y)) return ChartArea::Plot;
  if (Inside(s.ScrollTrack, TrackOrigin(), x, y)) return ChartArea::ScrollTrack;
  if (Inside(s.StatisticsPanel, FrameOrigin(s.StatisticsPanel), x, y)) return ChartArea::StatisticsPanel;
  if (Inside(s.OuterBorder, FrameOrigin(s.OuterBorder), x, y)) return ChartArea::OtherFrame;
  return ChartArea::Background;
}

}  // namespace accelog
