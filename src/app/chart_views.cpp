#include "app/chart_views.h"

#include <filesystem>

#include "app/chart_frame.h"
#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "app/cursor_scroll.h"
#include "app/curve_plot.h"
#include "model/conversion.h"
#include "model/state.h"
#include "model/utils.h"

namespace accelog {

void DispDataReady_14() {
  ChartSceneRecord& s = ChartScene;
  const int16_t shown[8] = {1, 1, 1, 1, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) {
    ChartState.CurveShown[i] = shown[i];
    s.Check[i + 1].Value = shown[i];
    s.Check[i + 1].Enabled = true;
  }
  s.Check[13].Enabled = false;
  s.Label25.Caption.clear();  // a spectrum's read-out is not this view's
  s.Command1.Enabled = true;
  HideLineX();
  HideLineY();
  HideLineZ();
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  s.Label26.Visible = true;
  Data.MenuCommandCode = MenuOperation::DataView;
  ShowFileNameBox(Data.DataFileName);
}

void ShowFileNameBox(const std::string& path) {
  ChartScene.Text[24].Caption = std::filesystem::path(path).filename().string();
  ChartScene.FilePath = path;
}

void DispOpenedDataFile() {
  ChartScene.Command2.Visible = false;
  ChartScene.Command3.Visible = false;
  DispLeftLableY();
  DispRightLableAngl();
  ChartScene.Frame5.Top = 100000;
  DispCurve(Data.DispStartPoint, Data.DispEndPoint);
  ChartScene.Frame5.Top = ChartScene.Frame4.Top;
  const int32_t shown = Data.CountPoint - PointAllZero_Long(1, Data.CountPoint);
  ChartScene.Text[19].Caption = std::to_string(shown);
  HsrollToChangPosition();
}

OpenResult OpenDataFileInChart(const std::string& file) {
  Data.DataFileName = file;
  DispDataReady_14();
  const OpenResult result = OpenDataFileServer(file);
  if (result == OpenResult::Ok) {
    ComputePlotPositions();
    MapRangeToSlots(Data.DispStartPoint, Data.DispEndPoint);
    DispOpenedDataFile();
  }
  return result;
}

}  // namespace accelog
