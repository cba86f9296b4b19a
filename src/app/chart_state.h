#pragma once
// Process-wide state of the chart window: its geometry factors, the curve
// switches, the cursor and drag state and the scroll track. The mg factors
// (TwipsPerUnitY, AccelScale, AccelOffset ...) live in Conv, the shown window
// (DispStartPoint ...) in Data.
#include <cstdint>

namespace accelog {

// Curves in drawing order; index into CurveShown and the object arrays.
enum Curve { kCurveX = 0, kCurveY, kCurveZ, kCurveV, kCurveAX, kCurveAY, kCurveAZ, kCurves };
inline constexpr int kPointsFlag = 7;  // 8th CurveShown flag: "Disp Point"

struct ChartStateRecord {
  int16_t PlotWidthUnits;
  int16_t PlotHeightUnits;
  float TwipsPerUnitX;
  int16_t PlotFrameWidth;
  int16_t PlotFrameHeight;
  int16_t AngleOffset;
  int16_t AngleLabelBase;
  int16_t CurveShown[8];  // X, Y, Z, V, AX, AY, AZ, points; 1 shown
  bool ChartControlsLoaded;
  uint32_t ChartBackColor;  // 0xBBGGRR
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
  int16_t ScrollDragMode;  // 1 start marker, 2 end marker, 0 both
  int16_t ScrollDragX, ScrollStartX0, ScrollEndX0;

  // The spectrum routines of the FFT side, reached by "Disp Frequency".
  // Empty until that side installs them.
  void (*DispFrequency)();
  void (*DispFrequencyData)();
};

extern ChartStateRecord ChartState;

// Start values as the main window sets them when it loads.
void ResetChartState();

}  // namespace accelog
