#include "shell/main_ui.h"

#include "charts/chart_frame.h"
#include "charts/chart_scene.h"
#include "charts/chart_views.h"
#include "charts/curve_plot.h"
#include "charts/form_picture.h"
#include "data/state.h"
#include "shell/main_window.h"
#include "shell/shell_rules.h"
#include "shell/tool_bar.h"

namespace accelog {

void ApplyChartEnabling(int code, bool enabled) {
  const EnabledSet s = MenuCommandCodeEnabledButton(code, enabled);
  for (int c = 1; c <= 13; ++c) {
    if (s.control_touched[static_cast<size_t>(c - 1)]) ChartScene.Check[c].Enabled = s.enabled;
  }
  if (s.control_touched[kAllPointControl]) ChartScene.Command1.Enabled = s.enabled;
}

MainUi::MainUi(MainWindow* window, FormPicture* chart) : QtUi(window), window_(window), chart_(chart) {
  QLabel* panels[5];
  for (int i = 0; i < 5; ++i) panels[i] = window->Panel(i + 1);
  SetPanels(panels);
}

void MainUi::ProgressShow(int minimum, int maximum) { chart_->ProgressShow(minimum, maximum); }
void MainUi::ProgressValue(int value) { chart_->ProgressValue(value); }
void MainUi::ProgressHide() { chart_->ProgressHide(); }

void MainUi::RestoreMenus(int code) {
  const bool enabled = Data.MenuCommandCode == 0;
  window_->ToolBar()->ApplyEnabling(code, enabled);
  ApplyChartEnabling(code, enabled);
  chart_->SyncFromScene();
}

void MainUi::ClearChart() {
  ClearText();
  ClearScreen();
  chart_->SyncFromScene();
}

void MainUi::ShowDataFile(const std::string& file) {
  OpenDataFileInChart(file);
  chart_->SyncFromScene();
}

}  // namespace accelog
