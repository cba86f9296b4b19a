#pragma once
// The print path without a window: the chart rectangle in the capture, the
// preview page with its zoom, margin lines and picture, margin dragging, the
// picture moves, and where the cut-out lands on the printed page. All in
// twips (1/1440 inch); page set-up values in millimetres.
#include <cstdint>
#include <string>

#include "model/machine_parameter.h"

namespace accelog {

inline constexpr double kTwipsPerMm = 56.6929;

struct ChartSceneRecord;

// The capture timer's steps: the chart located, three ticks for the window
// to settle, the capture, its file, the preview.
enum class PrintStep { Idle, LocateChart, Settle1, Settle2, Settle3, Capture, SaveCapture, ShowPreview };

// One print of the chart window: where the chart lies in the capture, the
// preview's zoom and margin lines, the printer chosen. Owned by the print
// window's flow (or the command line's print).
struct PrintJob {
  bool PrintRequested = false;
  PrintStep Step = PrintStep::Idle;
  // The screen's twips per pixel at start-up; 0: the screen's now.
  double TwipsPerPixelX = 0, TwipsPerPixelY = 0;
  int16_t PrintLeft = 0, PrintTop = 0, PrintWidth = 0, PrintHeight = 0;  // chart in the capture
  int16_t CropLeft = 0, CropTop = 0, CropWidth = 0, CropHeight = 0;
  int32_t CaptureWidth = 0, CaptureHeight = 0;  // twips; a large screen passes 32767
  float PreviewZoom = 0;
  int16_t ViewMarginTop = 0, ViewMarginDown = 0, ViewMarginLeft = 0, ViewMarginRight = 0;
  bool MarginDragging = false;
  std::string CurrentPrinter;  // the application's printer; empty: the system default
  ParameterStore* Parameters = nullptr;  // the page set-up: paper, margins, picture scale and move
  RecordingParameters& PageSetup() const { return Parameters->Values(); }
};

struct TwipRect {
  double Left, Top, Width, Height;
};

// The chart's rectangle in the capture. (origin_x, origin_y): the chart
// window's corner in the capture, twips. The frames come from the chart scene.
void LocateChartInCapture(PrintJob& job, const ChartSceneRecord& scene, int32_t origin_x, int32_t origin_y);

// The paper in twips, width and height exchanged for a horizontal page.
struct PageTwips {
  double Width, Height;
};
PageTwips PageSizeTwips(int width_mm, int height_mm, int direction);

// The zoom loop: 0.01 steps from 1.0 until the page plus 1000 twips fits
// the window both ways, then a further 0.1 off.
float PreviewZoomFor(PageTwips page, int window_width, int window_height);

// The preview as the print window lays it out, in preview twips. Lines are
// positions inside the page.
struct PreviewLayout {
  double PageWidth, PageHeight;
  int32_t LineTop, LineDown, LineLeft, LineRight;
  TwipRect Picture;
};
// The preview for a main window of the given size (twips): sets the job's
// PreviewZoom, view margins and crop from the page set-up.
PreviewLayout LayOutPreview(PrintJob& job, int window_width, int window_height);

enum class MarginLine { None, Top, Down, Left, Right };
// The margin line within 50 twips of (x, y), page coordinates.
MarginLine MarginLineNear(const PreviewLayout& layout, double x, double y);
// The line follows the pointer: its view margin is the distance from the
// page edge it belongs to, and the margin in mm follows. Returns the mm.
int16_t DragMarginLine(PrintJob& job, MarginLine line, const PreviewLayout& layout, double x, double y);
// The mm of a view margin at the current zoom.
int16_t MarginFromView(double view, float zoom);

// A double click at (x, y) on a picture of the given size moves the
// cut-out by zone; false when the click is in no zone.
bool MovePictureByZone(PrintJob& job, int32_t x, int32_t y, double width, double height);

// The cut-out of the capture the preview and the printer draw, twips.
TwipRect CutOutSource(const PrintJob& job);
// Where it lands on the printed page, in page twips: at the margins' true
// size, PictureScale of its captured size.
TwipRect PrintedPicture(const PrintJob& job);

}  // namespace accelog
