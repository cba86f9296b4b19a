#pragma once
// One chart window: its scene, its switches and cursor state, its plot
// scale, and every procedure that moves them. The main window, the command
// line's render and print and each test build their own; the samples and
// their statistics are read through the data handed in.
#include <cstdint>
#include <memory>
#include <string>

#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "model/conversion.h"
#include "model/fft.h"
#include "model/kvx_file.h"
#include "model/dataset.h"

namespace accelog {

class Chart {
 public:
  explicit Chart(Dataset& data);
  Dataset& Data() const { return data_; }
  ~Chart();
  Chart(const Chart&) = delete;
  Chart& operator=(const Chart&) = delete;

  ChartStateRecord state{};
  ChartSceneRecord scene{};
  PlotScale scale;

  // --- Window, frames, axes, grid ---
  // Start-up of the window: size, objects, axes, grid, check boxes; then the
  // frames laid out and the texts cleared.
  void LoadWindow();
  void LayOutFrames();
  void LabelAccelAxis();
  void LabelAngleAxis();
  // The x labels: times and dates, or "n Hz" in the spectrum view.
  void LabelTimeAxis();
  void ClearTexts();
  // "Disp Line X" / "Disp Line Y".
  void ShowHorizontalGrid(int16_t value);
  void ShowVerticalGrid(int16_t value);
  // The mg axis 100 mg down or up; only while a view or a live run is on.
  void PanDown();
  void PanUp();
  // Column c's x in the plot, as the grid line of the column has it.
  float ColumnX(int c) const;

  // --- Curves ---
  // x(c) of the curve objects: Nearest((c - 1) x 50 x TwipsPerUnitX + 50).
  int32_t CurveColumnX(int c) const;
  // Drawn y of curve k at point p: offset x TwipsPerUnitY + plot field.
  double CurveY(int k, int32_t p) const;
  void DrawCurve(int k, int32_t start);
  // Bridges over empty columns (object 5), parked curves over them.
  void BridgeEmptyColumns(int k);
  void ParkEmptyColumns(int k);
  // The markers of curve k follow its segments (or hide without "Disp Point").
  void PlaceMarkers(int k);
  void HideCurve(int k);
  void HideZeroMarkers(int k);
  void ShowAllMarkers();
  void ShowMarkersOfShownCurves(int16_t flag);
  // Curve check boxes 1..7 (k = 0..6) and "Disp Point".
  void SetCurveShown(int k, int16_t value);
  void SetPointsShown(int16_t value);
  // Redraws the chart for RealData(start..end): curves, x labels,
  // statistics, point count, zero points.
  void Draw(int32_t start, int32_t end);
  // The same with the plot frame out of sight meanwhile.
  void DrawOutOfSight(int32_t start, int32_t end);
  // ZeroPointFlag per column, then the markers of flagged columns hidden.
  void HideZeroPoints(int32_t start, int32_t end);
  // Statistics boxes from the conversion's statistics.
  void ShowStatistics();
  // Curves parked, markers following them, no data set loaded.
  void ClearPlot();

  // --- Cursor, drag zoom, scroll track ---
  void ShowReadOut(int16_t column);
  void HideLockMarkers();
  void HideCrossHair();
  // The scroll markers and their numbers from the shown window.
  void PlaceScrollMarkers();
  // The shown window from the scroll markers.
  void WindowFromScrollMarkers();
  // The read-out text for point p.
  std::string LockReadOutText(int32_t p) const;
  // Plot mouse rules; positions are twips in the plot.
  void PlotMouseMove(float x, float y);
  void PlotMouseDown(float x, float y);
  void PlotMouseUp(float x, float y);
  void PlotDoubleClick();
  void OtherFrameMouseMove();
  // Scroll track mouse rules; Move returns whether the pointer is within
  // reach of a marker (the sizing arrow).
  void TrackMouseDown(float x);
  bool TrackMouseMove(float x);
  void TrackMouseUp(float x);
  void TrackDoubleClick();
  // The arrows beside the track: 50 points more on that side.
  void ExtendWindowLeft();
  void ExtendWindowRight();
  void ShowAllPoints();                 // "All Point"
  void ShowCrossHair(int16_t value);    // "Disp Line XY"
  void ShowLockedPoints(int16_t value); // "Disp Lock Point"
  void ShowSpectrumView(int16_t value); // "Disp Frequency"

  // --- Views ---
  // A file view: X, Y, Z, V and the points on, the angles off, the curve
  // boxes and "All Point" enabled, "Disp Frequency" disabled, no data set
  // loaded, the data view in progress, the file-name box showing the file.
  void PrepareDataView();
  // The file-name box: the file's name as it is on disk, the full path behind it.
  void ShowFileNameBox(const std::string& path);
  // After the file was read: buttons hidden, axes scaled and labelled, the
  // window drawn, the point-count box and the scroll track set.
  void ShowOpenedDataFile();
  OpenOutcome OpenDataFile(const std::string& file);

  // Spectra of RealData(1..256) as curves X, Y, Z over lines 1..128 with the
  // spectrum axis. The caller holds AccelOffset at 0 around it.
  void ShowSpectra();
  // The same 256 points as mg curves with the mg and angle axes.
  void ShowSpectrumSamples();
  // Peak lines into their boxes, a common scale, the left axis in spectrum
  // units, the magnitudes of records 1..128 turned into plot positions.
  void LabelSpectrumAxis();
  // "Hann window": the spectra from now on with (1) or without (0) the
  // window; a spectrum file in view is redrawn at once.
  void SetHannWindow(int16_t value);
  // "Remove mean" and "Frequency in Hz", the same way: each axis's mean of
  // the 256 samples off before the transform; the lines, the peaks and the
  // read-out in Hz from the file's interval instead of line numbers.
  void SetRemoveMean(int16_t value);
  void SetFrequencyInHz(int16_t value);
  // Line `line` as the axis, the peak boxes and the read-out name it: its
  // number, or its frequency in Hz ("1.016") when "Frequency in Hz" is on.
  std::string LineText(int32_t line) const;
  // The two option boxes show only while a spectrum is in the window.
  bool SpectrumOptionsShown() const;
  // "Frequency" after the file was chosen: the file read (refusals shown),
  // the spectrum view with "Disp Frequency" ticked.
  FrequencyFileOutcome OpenFrequencyFile(const std::string& file);

  // --- Live runs ---
  void PrepareLiveData();
  void PrepareLiveSpectrum();
  // RealData(CountPoint) has just arrived: the axis grows to the largest
  // value so far, and the curves, statistics and count box show 1..CountPoint.
  void ShowLivePoint();
  // RealData(1..256) holds a new live set: statistics and, with the spectrum
  // view on, the three spectra; otherwise the 256 samples as curves.
  void ShowLiveSet();

 private:
  struct ColumnExtremes;

  void LayOutStatistics();
  void CreateCurveObjects();
  void PlaceCurveColumns();
  RealDataRecord SlotRecord(int c) const;
  void ShowLabels(int c, std::string time, std::string date);
  void HideLabels(int c);
  void LabelTimes();
  void LabelFrequencies();
  void RedrawSpectrumFile();
  void Pan(float delta_mg);
  double CurveBase(int k) const;
  bool ColumnPoints(int c, int32_t& first, int32_t& count) const;
  void ComputeColumnExtremes();
  void ColumnExtreme(int k, int c, int32_t s, int32_t n, double& mn, double& mx) const;
  void PlaceMarkerTops(int k);
  void ShowMarkers(int k, bool visible);
  double ColumnWidth() const;
  void NewWindow();
  void FollowMarkers();
  void ShowWindowNumbers();
  void SetCurveBoxes(const int16_t (&shown)[8], const bool (&enabled)[8]);
  // The spectra drawn with AccelOffset at 0, the offset kept meanwhile.
  void ShowSpectraUnshifted();

  Dataset& data_;
  Statistics& conv_;
  std::unique_ptr<ColumnExtremes> extremes_;
};

}  // namespace accelog
