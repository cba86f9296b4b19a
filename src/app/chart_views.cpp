#include "app/chart.h"

#include <filesystem>

#include "model/conversion.h"
#include "model/dataset.h"
#include "model/utils.h"

namespace accelog {

void Chart::PrepareDataView() {
  ChartSceneRecord& s = scene;
  const int16_t shown[8] = {1, 1, 1, 1, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) {
    state.CurveShown[i] = shown[i];
    s.CheckBox[i + 1].Value = shown[i];
    s.CheckBox[i + 1].Enabled = true;
  }
  s.CheckBox[kSpectrumBox].Enabled = false;
  s.ReadOut.Caption.clear();  // a spectrum's read-out is not this view's
  s.AllPointsButton.Enabled = true;
  HideCurve(kCurveX);
  HideCurve(kCurveY);
  HideCurve(kCurveZ);
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.FrequencyView = false;
  s.AccelUnitLabel.Visible = true;
  data_.MenuCommandCode = MenuOperation::DataView;
  ShowFileNameBox(data_.DataFileName);
}

void Chart::ShowFileNameBox(const std::string& path) {
  scene.StatBox[kFileNameBox].Caption = std::filesystem::path(path).filename().string();
  scene.FilePath = path;
}

void Chart::ShowOpenedDataFile() {
  scene.PreviousButton.Visible = false;
  scene.NextButton.Visible = false;
  data_.ScaleAccelAxis(scale);
  data_.ComputePlotPositions(scale);
  LabelAccelAxis();
  LabelAngleAxis();
  DrawOutOfSight(data_.DispStartPoint, data_.DispEndPoint);
  const int32_t shown = data_.CountPoint - data_.CountZeroPoints(1, data_.CountPoint);
  scene.StatBox[kPointCountBox].Caption = std::to_string(shown);
  PlaceScrollMarkers();
}

OpenOutcome Chart::OpenDataFile(const std::string& file) {
  data_.DataFileName = file;
  PrepareDataView();
  OpenOutcome outcome = data_.Open(file);
  if (outcome == OpenResult::Ok) ShowOpenedDataFile();
  return outcome;
}

}  // namespace accelog
