#include "app/chart.h"

#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/dataset.h"
#include "model/utils.h"

namespace accelog {

void Chart::ShowSpectra() {
  data_.FrequencySpectra();
  LabelSpectrumAxis();
  data_.FrequencySpectrumPoints();
  DrawOutOfSight(1, kSpectrumBins);
}

void Chart::ShowSpectrumSamples() {
  HideCurve(kCurveX);
  HideCurve(kCurveY);
  HideCurve(kCurveZ);
  data_.FrequencyDataPoints();
  data_.ScaleAccelAxis(scale);
  data_.ComputePlotPositions(scale);
  LabelAccelAxis();
  LabelAngleAxis();
  DrawOutOfSight(1, kFFTPoints);
}

void Chart::ShowSpectraUnshifted() {
  state.SavedAccelOffset = scale.AccelOffset;
  scale.AccelOffset = 0;
  ShowSpectra();
  scale.AccelOffset = state.SavedAccelOffset;
}

void Chart::SetHannWindow(int16_t value) {
  scene.HannBox.Value = value;
  data_.Window = value == 1 ? SpectrumWindow::Hann : SpectrumWindow::None;
  RedrawSpectrumFile();
}

void Chart::SetRemoveMean(int16_t value) {
  scene.RemoveMeanBox.Value = value;
  data_.RemoveMean = value == 1;
  RedrawSpectrumFile();
}

void Chart::SetFrequencyInHz(int16_t value) {
  scene.HzBox.Value = value;
  RedrawSpectrumFile();
}

std::string Chart::LineText(int32_t line) const {
  const int64_t ms = IntervalMilliseconds(static_cast<uint16_t>(data_.Head.RecordInterval), data_.Head.IntervalUnit);
  // A head with interval 0 gives no frequency: the lines keep their numbers.
  if (scene.HzBox.Value != 1 || ms <= 0) return std::to_string(line);
  return FrequencyText(LineFrequency(line, ms));
}

bool Chart::SpectrumOptionsShown() const {
  return data_.FrequencyFileLoaded || data_.FrequencyView || data_.MenuCommandCode == MenuOperation::LiveSpectrum;
}

// A spectrum file in view follows a changed option at once; a live
// spectrum takes it with its next set.
void Chart::RedrawSpectrumFile() {
  if (!(data_.FrequencyFileLoaded && data_.FrequencyView && data_.MenuCommandCode == MenuOperation::None)) return;
  ShowSpectraUnshifted();
  ShowStatistics();
}

FrequencyFileOutcome Chart::OpenFrequencyFile(const std::string& file) {
  ChartSceneRecord& s = scene;
  data_.DataFileName = data_.DownloadFileName = file;
  ShowFileNameBox(file);
  FrequencyFileOutcome outcome = data_.ReadFrequencyFile(file);
  if (outcome != FrequencyFileResult::Ok) return outcome;

  data_.FrequencyFileLoaded = true;
  const int16_t shown[8] = {1, 1, 1, 0, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) {
    state.CurveShown[i] = shown[i];
    s.CheckBox[i + 1].Value = shown[i];
    s.CheckBox[i + 1].Enabled = i <= kCurveZ || i == kPointsFlag;
  }
  data_.MenuCommandCode = MenuOperation::FrequencyView;
  data_.FrequencyView = true;
  // The box says what is shown: ticked for the spectrum.
  s.CheckBox[kSpectrumBox].Value = 1;
  s.CheckBox[kSpectrumBox].Enabled = true;
  s.AccelUnitLabel.Visible = false;
  s.PreviousButton.Visible = s.NextButton.Visible = false;
  if (scale.AccelOffset != 0) state.SavedAccelOffset = scale.AccelOffset;
  scale.AccelOffset = 0;
  ShowSpectra();
  s.StatBox[kPointCountBox].Caption = std::to_string(data_.CountPoint);
  PlaceScrollMarkers();
  data_.MenuCommandCode = MenuOperation::None;
  return outcome;
}

}  // namespace accelog
