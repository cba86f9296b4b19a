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

struct ChartSceneRecord {
  int32_t Width, Height;  // the window

  // Frame1 statistics panel (with Frame10), Frame2/Frame3 borders, Frame4
  // left strip, Frame5 plot, Frame6 right strip, Frame7 x labels, Frame8
  // scroll strip, Frame9 bottom strip; Frame4..Frame9 lie inside Frame3,
  // Frame3 inside Frame2. Frame100 is the scroll track inside Frame8.
  SceneControl Frame1, Frame2, Frame3, Frame4, Frame5, Frame6, Frame7, Frame8, Frame9, Frame10;
  SceneControl Frame100;

  // Statistics panel: captions and boxes Text1..Text24 (element 0 unused).
  SceneControl StatCaption[25];
  SceneControl Text[25];
  std::string FilePath;  // the full path behind the file-name box Text24

  // Left strip.
  SceneControl LabelY[11];
  SceneLine LineY[11];
  SceneControl Label26;  // "Unit:mg"
  SceneControl Picture1, Picture2;
  SceneControl Command2;  // "Previous "

  // Right strip.
  SceneControl LabelAng[11];
  SceneLine LineZ[11];
  SceneControl Label27;  // "Unit:degree"
  SceneControl Check[14];  // Check1..Check13
  SceneControl CheckHann;  // Hann window for the spectra, beside "Disp Frequency"
  SceneLine LineColor[8];
  SceneControl Command1, Command3;  // "All Point", "Next"

  // Plot.
  SceneLine LineYFr5[11];
  SceneLine LineXFr5[kColumns + 1];
  // Curve k, object 1..5 (connector, three segments, gap bridge), column c.
  SceneLine CurveLine[kCurves][6][kColumns + 1];
  // Curve k, marker 1..4, column c.
  SceneShape CurvePoint[kCurves][5][kColumns + 1];
  SceneLine LineXX, LineYY;  // cross-hair
  SceneLine LineLeft, LineRight, LineUp, LineDown;
  SceneShape ShapePointLock[kCurves];
  SceneShape ShapeFrame;  // drag rectangle
  bool CrossHairShown;     // Check11
  bool LockPointsShown;    // Check12

  // X-label strip.
  SceneControl LabelX1[kColumns + 1];
  SceneControl LabelX2[kColumns + 1];

  // Scroll strip.
  SceneControl Picture100, Picture101;
  SceneLine Line100, Line101;
  SceneControl Label28, Label29;

  // Bottom strip.
  SceneControl ProgressBar1;
  SceneControl Label25;
};

extern ChartSceneRecord ChartScene;

// Every object back to nothing (the window not loaded yet).
void ResetChartScene();

// Colour of curve k (and of its legend line), 0xRRGGBB.
uint32_t CurveColor(int k);
inline constexpr uint32_t kVerticalGridColor = 0xE0E0E0;
inline constexpr uint32_t kHorizontalGridColor = 0xC0C0C0;

// Window-relative position of a control inside the frames, in twips.
struct TwipPoint {
  int32_t X, Y;
};
TwipPoint PlotOrigin();   // top-left of Frame5
TwipPoint TrackOrigin();  // top-left of Frame100
TwipPoint FrameOrigin(const SceneControl& frame);  // any of Frame1..Frame10

// Where a window position falls, for the mouse rules.
enum class ChartArea { Background, Frame1, Plot, ScrollTrack, OtherFrame };
ChartArea HitTest(int32_t x, int32_t y);

}  // namespace accelog
