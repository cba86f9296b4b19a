#pragma once
// State of one chart window: its geometry factors, the curve switches, the
// cursor and drag state and the scroll track. The mg factors (TwipsPerUnitY,
// AccelScale, AccelOffset ...) are the chart's PlotScale, the shown window
// (DispStartPoint ...) is the data's.
#include <cstdint>

namespace accelog {

// Curves in drawing order; index into CurveShown and the object arrays.
enum Curve { kCurveX = 0, kCurveY, kCurveZ, kCurveV, kCurveAX, kCurveAY, kCurveAZ, kCurves };
inline constexpr int kPointsFlag = 7;  // 8th CurveShown flag: "Disp Point"

// What a press on the scroll track drags.
enum class ScrollDrag { BothMarkers, StartMarker, EndMarker };

struct ChartStateRecord {
  int16_t PlotWidthUnits = 10000;
  int16_t PlotHeightUnits = 5000;
  float TwipsPerUnitX = 1.3f;
  int16_t PlotFrameWidth;
  int16_t PlotFrameHeight;
  int16_t AngleOffset = -2500;  // -100 degrees x 25 units per degree
  int16_t AngleLabelBase = -100;
  // X, Y, Z, V, AX, AY, AZ, points; 1 shown. X, Y, Z, V and the points, as
  // the main window starts them.
  int16_t CurveShown[8] = {1, 1, 1, 1, 0, 0, 0, 1};
  bool ChartControlsLoaded;
  int32_t LastDrawStart;
  int32_t LastDrawEnd;
  int16_t SavedAccelOffset;

  // Cursor and drag zoom.
  bool CursorLocked;
  int16_t CursorColumn;
  bool RubberBandActive;
  float RubberBandX, RubberBandY;
  int32_t ZoomFirstColumn, ZoomLastColumn;

  // Scroll track.
  int16_t ScrollTrackLength;
  float ScrollStartFraction, ScrollEndFraction;
  bool ScrollDragging;
  ScrollDrag ScrollDragMode;
  int16_t ScrollDragX, ScrollStartX0, ScrollEndX0;
};

}  // namespace accelog
