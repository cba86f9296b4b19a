#include "app/chart.h"

#include <algorithm>
#include <string>

#include "model/conversion.h"
#include "model/dataset.h"

namespace accelog {

void Chart::SetCurveBoxes(const int16_t (&shown)[8], const bool (&enabled)[8]) {
  for (int i = 0; i < 8; ++i) {
    state.CurveShown[i] = shown[i];
    scene.CheckBox[i + 1].Value = shown[i];
    scene.CheckBox[i + 1].Enabled = enabled[i];
  }
}

void Chart::PrepareLiveData() {
  SetCurveBoxes({1, 1, 1, 1, 0, 0, 0, 1}, {true, true, true, true, true, true, true, true});
  scene.ReadOut.Caption.clear();  // a spectrum's read-out is not this view's
  scale.AccelPeak = 0;  // the first point scales the axis
  scene.AccelUnitLabel.Visible = true;
}

void Chart::PrepareLiveSpectrum() {
  SetCurveBoxes({1, 1, 1, 0, 0, 0, 0, 1}, {true, true, true, false, false, false, false, true});
  scene.CheckBox[kSpectrumBox].Value = 1;  // the box shows the spectrum view
  scene.CheckBox[kSpectrumBox].Enabled = true;  // and unticked, the raw samples
  scene.ReadOut.Caption.clear();
  scene.AccelUnitLabel.Visible = false;  // no mg unit over spectrum lines
  data_.MenuCommandCode = MenuOperation::LiveSpectrum;
  data_.FrequencyView = true;
}

void Chart::ShowLivePoint() {
  const int32_t n = data_.CountPoint;
  if (n < 1) return;
  data_.DispStartPoint = 1;
  data_.DispEndPoint = n;
  data_.ComputeStatistics(1, n);
  const float peak = *std::max_element(conv_.StatMaxValue, conv_.StatMaxValue + kV + 1);
  // Only a new peak rescales, so a pan of the axis survives the next point.
  if (peak > scale.AccelPeak) {
    data_.ScaleAccelAxis(scale);
    LabelAccelAxis();
  }
  data_.ComputePlotPositions(scale);
  DrawOutOfSight(1, n);
  scene.StatBox[kPointCountBox].Caption = std::to_string(n);
}

void Chart::ShowLiveSet() {
  ShowStatistics();
  if (!data_.FrequencyView) {
    ShowSpectrumSamples();
    return;
  }
  ShowSpectraUnshifted();
}

}  // namespace accelog
