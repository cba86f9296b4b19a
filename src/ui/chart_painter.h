#pragma once
// Paints the chart scene (frames, axes, grid, curves, cursor objects, x
// labels, scroll track, read-out) with QPainter. Coordinates are twips; the
// painter is scaled to the device so that 1 twip is 1/1440 inch at the
// device's logical DPI.
class QPainter;

namespace accelog {

struct ChartSceneRecord;

// pixels_per_twip: logical DPI / 1440.
// Frequency views take a smaller font for their closer x labels.
void PaintChartScene(QPainter& painter, const ChartSceneRecord& scene, double pixels_per_twip, bool frequency_view);

}  // namespace accelog
