#pragma once
// The interactive side of the chart: cross-hair and read-out, lock, drag
// zoom, the scroll track, the arrow buttons, "All Point" and the check boxes
// of the cross-hair, the lock markers and the spectrum view. Positions are
// twips in the plot (Frame5) or in the scroll track (Frame100).
#include <cstdint>
#include <string>

namespace accelog {

void DispLockPoint(int16_t column);
void HideLockPoint();
void HideLineXXLineYY();
void HsrollToChangPosition();
void HsrollChangPosition();

// The read-out text DispLockPoint writes for point p.
std::string LockReadOutText(int32_t p);

// Plot mouse rules.
void PlotMouseMove(float x, float y);
void PlotMouseDown(float x, float y);
void PlotMouseUp(float x, float y);
void PlotDoubleClick();
// Mouse over the other frames of the window.
void OtherFrameMouseMove();

// Scroll track (Frame100) mouse rules. Move returns whether the pointer is
// within reach of a marker (the sizing arrow).
void TrackMouseDown(float x);
bool TrackMouseMove(float x);
void TrackMouseUp(float x);
void TrackDoubleClick();

void Picture100_Click();
void Picture101_Click();
void Command1_Click();  // "All Point"

void Check11_Click(int16_t value);  // "Disp Line XY"
void Check12_Click(int16_t value);  // "Disp Lock Point"
void Check13_Click(int16_t value);  // "Disp Frequency"

}  // namespace accelog
