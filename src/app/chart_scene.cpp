#include "app/chart_scene.h"

namespace accelog {

ChartSceneRecord ChartScene;

void ResetChartScene() {
  static const ChartSceneRecord kEmpty{};
  ChartScene = kEmpty;
}

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

TwipPoint FrameOrigin(const SceneControl& frame) {
  const ChartSceneRecord& s = ChartScene;
  if (&frame == &s.Frame1 || &frame == &s.Frame2) return {frame.Left, frame.Top};
  if (&frame == &s.Frame10) return {s.Frame1.Left + frame.Left, s.Frame1.Top + frame.Top};
  const TwipPoint f2{s.Frame2.Left, s.Frame2.Top};
  if (&frame == &s.Frame3) return {f2.X + frame.Left, f2.Y + frame.Top};
  const TwipPoint f3{f2.X + s.Frame3.Left, f2.Y + s.Frame3.Top};
  return {f3.X + frame.Left, f3.Y + frame.Top};
}

TwipPoint PlotOrigin() { return FrameOrigin(ChartScene.Frame5); }

TwipPoint TrackOrigin() {
  const TwipPoint f8 = FrameOrigin(ChartScene.Frame8);
  return {f8.X + ChartScene.Frame100.Left, f8.Y + ChartScene.Frame100.Top};
}

ChartArea HitTest(int32_t x, int32_t y) {
  const ChartSceneRecord& s = ChartScene;
  if (Inside(s.Frame5, PlotOrigin(), x, y)) return ChartArea::Plot;
  if (Inside(s.Frame100, TrackOrigin(), x, y)) return ChartArea::ScrollTrack;
  if (Inside(s.Frame1, FrameOrigin(s.Frame1), x, y)) return ChartArea::Frame1;
  if (Inside(s.Frame2, FrameOrigin(s.Frame2), x, y)) return ChartArea::OtherFrame;
  return ChartArea::Background;
}

}  // namespace accelog
