#include "app/live_chart.h"

#include <algorithm>
#include <string>

#include "app/chart_frame.h"
#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "app/curve_plot.h"
#include "app/frequency_view.h"
#include "model/conversion.h"
#include "model/state.h"
#include "model/machine_parameter.h"

namespace accelog {

namespace {

void SetCurveBoxes(const int16_t (&shown)[8], const bool (&enabled)[8]) {
  for (int i = 0; i < 8; ++i) {
    ChartState.CurveShown[i] = shown[i];
    ChartScene.Check[i + 1].Value = shown[i];
    ChartScene.Check[i + 1].Enabled = enabled[i];
  }
}

}  // namespace

void DispRealTimeDataReady_12() {
  SetCurveBoxes({1, 1, 1, 1, 0, 0, 0, 1}, {true, true, true, true, true, true, true, true});
  ChartScene.Label25.Caption.clear();  // a spectrum's read-out is not this view's
  Conv.AccelPeak = 0;  // the first point scales the axis
  ChartScene.Label26.Visible = true;
}

void DispRealTimeFrequencyReady_13() {
  SetCurveBoxes({1, 1, 1, 0, 0, 0, 0, 1}, {true, true, true, false, false, false, false, true});
  ChartScene.Check[13].Value = 1;  // the box shows the spectrum view
  ChartScene.Check[13].Enabled = true;  // and unticked, the raw samples
  ChartScene.Label25.Caption.clear();
  ChartScene.Label26.Visible = false;  // no mg unit over spectrum lines
  Data.MenuCommandCode = MenuOperation::LiveSpectrum;
  Data.FrequencyView = true;
  MachineParameter.ParameterDialogMode = 2;
}

void DispLivePoint() {
  const int32_t n = Data.CountPoint;
  if (n < 1) return;
  Data.DispStartPoint = 1;
  Data.DispEndPoint = n;
  ComputeStatistics(1, n);
  const float peak = *std::max_element(Conv.StatMaxValue, Conv.StatMaxValue + kV + 1);
  // Only a new peak rescales, so a pan of the axis survives the next point.
  if (peak > Conv.AccelPeak) {
    ScaleAccelAxis();
    DispLeftLableY();
  }
  ComputePlotPositions();
  ChartScene.Frame5.Top = 100000;
  DispCurve(1, n);
  ChartScene.Frame5.Top = ChartScene.Frame4.Top;
  ChartScene.Text[19].Caption = std::to_string(n);
}

void DispLiveSet() {
  DispMaxMin();
  if (!Data.FrequencyView) {
    DispFrequencyData();
    return;
  }
  ChartState.SavedAccelOffset = Conv.AccelOffset;
  Conv.AccelOffset = 0;
  DispFrequency();
  Conv.AccelOffset = ChartState.SavedAccelOffset;
}

}  // namespace accelog
