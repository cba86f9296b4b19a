#include "app/frequency_view.h"

#include "app/chart_frame.h"
#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "app/chart_views.h"
#include "app/cursor_scroll.h"
#include "app/curve_plot.h"
#include "app/frequency_chart.h"
#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/state.h"
#include "model/utils.h"

namespace accelog {

namespace {

// A full redraw with the plot frame out of sight.
void DrawHidden(int32_t end) {
  ChartScene.Frame5.Top = 100000;
  DispCurve(1, end);
  ChartScene.Frame5.Top = ChartScene.Frame4.Top;
}

}  // namespace

void DispFrequency() {
  FrequencySpectra();
  DispLeftLableF();
  FrequencySpectrumPoints();
  DrawHidden(kSpectrumBins);
}

void DispFrequencyData() {
  HideLineX();
  HideLineY();
  HideLineZ();
  FrequencyDataPoints();
  DispLeftLableY();
  DispRightLableAngl();
  DrawHidden(kFFTPoints);
}

void CheckHann_Click(int16_t value) {
  ChartScene.CheckHann.Value = value;
  FFTWindow = value == 1 ? SpectrumWindow::Hann : SpectrumWindow::None;
  if (!(Data.FrequencyFileLoaded && Data.FrequencyView && Data.MenuCommandCode == MenuOperation::None)) return;
  ChartState.SavedAccelOffset = Conv.AccelOffset;
  Conv.AccelOffset = 0;
  DispFrequency();
  Conv.AccelOffset = ChartState.SavedAccelOffset;
  DispMaxMin();
}

FrequencyFileResult OpenFrequencyFileInChart(const std::string& file) {
  ChartState.DispFrequency = DispFrequency;
  ChartState.DispFrequencyData = DispFrequencyData;
  ChartSceneRecord& s = ChartScene;
  Data.DataFileName = Data.DownloadFileName = file;
  ShowFileNameBox(file);
  const FrequencyFileResult result = ReadFrequencyFile(file);
  if (result != FrequencyFileResult::Ok) return result;

  Data.FrequencyFileLoaded = true;
  const int16_t shown[8] = {1, 1, 1, 0, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) {
    ChartState.CurveShown[i] = shown[i];
    s.Check[i + 1].Value = shown[i];
    s.Check[i + 1].Enabled = i <= kCurveZ || i == kPointsFlag;
  }
  Data.MenuCommandCode = MenuOperation::FrequencyView;
  Data.FrequencyView = true;
  // The box says what is shown: ticked for the spectrum.
  s.Check[13].Value = 1;
  s.Check[13].Enabled = true;
  s.Label26.Visible = false;
  s.Command2.Visible = s.Command3.Visible = false;
  if (Conv.AccelOffset != 0) ChartState.SavedAccelOffset = Conv.AccelOffset;
  Conv.AccelOffset = 0;
  DispFrequency();
  s.Text[19].Caption = std::to_string(Data.CountPoint);
  HsrollToChangPosition();
  Data.MenuCommandCode = MenuOperation::None;
  return result;
}

}  // namespace accelog
