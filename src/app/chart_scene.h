#pragma once
// The chart window as a retained scene: every line, marker, label and control
// of the window with its position in twips. The chart procedures move these
// objects; the widget only paints them and forwards the mouse.
#include <cstdint>
#include <string>

#include "app/chart_state.h"

namespace accelog {

inline constexpr int kColumns = 200;
// Parking positions of curve segments taken out of view.
inline constexpr float kParkHidden = 30000.0f;
inline constexpr float kParkNoData = 1000000.0f;

struct SceneLine {
  float X1, Y1, X2, Y2;
  bool Visible;
};

struct SceneShape {
  float Left, Top, Width, Height;
  bool Visible;
};

// Frames, labels, boxes and buttons: position relative to the parent frame.
struct SceneControl {
  std::string Caption;
  int32_t Left, Top, Width, Height;
  int16_t Value;  // check boxes 0/1, the progress bar's value
  bool Enabled;
  bool Visible;
};

// Window-relative position of a control inside the frames, in twips.
struct TwipPoint {
  int32_t X, Y;
};

// Where a window position falls, for the mouse rules.
enum class ChartArea { Background, StatisticsPanel, Plot, ScrollTrack, OtherFrame };

// The statistics boxes by what they show; Max, Min and Average are the first
// of four (X, Y, Z, V), Threshold and Peak the first of three (X, Y, Z).
enum StatBoxIndex {
  kMaxBox = 1,
  kMinBox = 5,
  kAverageBox = 9,
  kThresholdBox = 13,
  kUnitBox = 16,
  kStartTimeBox = 17,
  kIntervalBox = 18,
  kPointCountBox = 19,
  kModeBox = 20,
  kPeakLineBox = 21,
  kFileNameBox = 24,
  kStatBoxes = 25
};

// The check boxes of the right strip beyond the seven curves (1..7).
enum CheckBoxIndex {
  kPointsBox = 8,
  kHorizontalGridBox = 9,
  kVerticalGridBox = 10,
  kCrossHairBox = 11,
  kLockPointsBox = 12,
  kSpectrumBox = 13
};

struct ChartSceneRecord {
  TwipPoint PlotOrigin() const;   // top-left of PlotFrame
  TwipPoint TrackOrigin() const;  // top-left of ScrollTrack
  TwipPoint FrameOrigin(const SceneControl& frame) const;  // any frame of the window
  ChartArea HitTest(int32_t x, int32_t y) const;

  int32_t Width, Height;  // the window

  // The statistics panel (with its centred columns) on top; below it the
  // outer and inner borders. The left strip, the plot, the right strip, the
  // time-label strip, the scroll strip and the bottom strip lie inside the
  // inner border, the inner border inside the outer. The scroll track lies
  // inside the scroll strip.
  SceneControl StatisticsPanel, OuterBorder, InnerBorder, LeftStrip, PlotFrame, RightStrip, TimeLabelStrip,
      ScrollStrip, BottomStrip, StatisticsColumns;
  SceneControl ScrollTrack;

  // Statistics panel: captions and boxes 1..24 (StatBoxIndex; element 0 unused).
  SceneControl StatCaption[kStatBoxes];
  SceneControl StatBox[kStatBoxes];
  std::string FilePath;  // the full path behind the file-name box

  // Left strip.
  SceneControl AccelLabel[11];
  SceneLine AccelTick[11];
  SceneControl AccelUnitLabel;  // "Unit:mg"
  SceneControl PanUpArrow, PanDownArrow;
  SceneControl PreviousButton;  // "Previous "

  // Right strip.
  SceneControl AngleLabel[11];
  SceneLine AngleTick[11];
  SceneControl AngleUnitLabel;  // "Unit:degree"
  SceneControl CheckBox[14];  // 1..7 the curves, then CheckBoxIndex
  SceneControl HannBox;  // Hann window for the spectra, beside "Disp Frequency"
  SceneControl RemoveMeanBox, HzBox;  // "Remove mean", "Frequency in Hz", below "Next"
  SceneLine LegendLine[8];
  SceneControl AllPointsButton, NextButton;  // "All Point", "Next"

  // Plot.
  SceneLine HorizontalGrid[11];
  SceneLine VerticalGrid[kColumns + 1];
  // Curve k, object 1..5 (connector, three segments, gap bridge), column c.
  SceneLine CurveLine[kCurves][6][kColumns + 1];
  // Curve k, marker 1..4, column c.
  SceneShape CurvePoint[kCurves][5][kColumns + 1];
  SceneLine CrossHairH, CrossHairV;
  SceneLine LineLeft, LineRight, LineUp, LineDown;
  SceneShape LockMarker[kCurves];
  SceneShape DragRectangle;
  bool CrossHairShown;
  bool LockPointsShown;

  // Time-label strip: time above, date below.
  SceneControl TimeLabel[kColumns + 1];
  SceneControl DateLabel[kColumns + 1];

  // Scroll strip.
  SceneControl ScrollLeftArrow, ScrollRightArrow;
  SceneLine ScrollStartMarker, ScrollEndMarker;
  SceneControl ScrollStartLabel, ScrollEndLabel;

  // Bottom strip.
  SceneControl ProgressBar;
  SceneControl ReadOut;
};

// Colour of curve k (and of its legend line), 0xRRGGBB.
uint32_t CurveColor(int k);
inline constexpr uint32_t kVerticalGridColor = 0xE0E0E0;
inline constexpr uint32_t kHorizontalGridColor = 0xC0C0C0;

}  // namespace accelog
