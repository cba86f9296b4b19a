#include "ui/main_ui.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "app/chart_frame.h"
#include "app/chart_scene.h"
#include "app/chart_views.h"
#include "app/curve_plot.h"
#include "ui/form_picture.h"
#include "app/live_chart.h"
#include "app/frequency_view.h"
#include "model/kvx_file.h"
#include "model/state.h"
#include "ui/main_window.h"
#include "app/shell_rules.h"
#include "ui/tool_bar.h"

namespace accelog {

void ApplyChartEnabling(int code, bool enabled) {
  const EnabledSet s = MenuCommandCodeEnabledButton(code, enabled);
  for (int c = 1; c <= 13; ++c) {
    if (s.control_touched[static_cast<size_t>(c - 1)]) ChartScene.Check[c].Enabled = s.enabled;
  }
  if (s.control_touched[kAllPointControl]) ChartScene.Command1.Enabled = s.enabled;
}

MainUi::MainUi(MainWindow* window, FormPicture* chart) : QtUi(window), window_(window), chart_(chart) {
  if (!window_ || !chart_) return;  // before the windows exist: messages only
  QLabel* panels[5];
  for (int i = 0; i < 5; ++i) panels[i] = window->Panel(i + 1);
  SetPanels(panels);
}

void MainUi::StatusPanel(int panel, const std::string& text) {
  QtUi::StatusPanel(panel, text);
  if (panel == 1 && text == "No Device !" && !simulated_) QtUi::StatusPanel(kHintPanel, kSimulatorHint);
}

void MainUi::ProgressShow(int minimum, int maximum) {
  if (chart_) chart_->ProgressShow(minimum, maximum);
}
void MainUi::ProgressValue(int value) {
  if (chart_) chart_->ProgressValue(value);
}
void MainUi::ProgressHide() {
  if (chart_) chart_->ProgressHide();
}

void MainUi::RestoreMenus(int code) {
  if (!window_ || !chart_) return;
  const bool enabled = Data.MenuCommandCode == MenuOperation::None;
  window_->ToolBar()->ApplyEnabling(code, enabled);
  ApplyChartEnabling(code, enabled);
  chart_->SyncFromScene();
}

void MainUi::ClearChart() {
  // Every piece of work starts here: a diagnostic of an earlier run goes.
  if (window_) window_->SetCaption({});
  if (!chart_) return;
  ClearText();
  ClearScreen();
  chart_->SyncFromScene();
}

void MainUi::ShowDataFile(const std::string& file) {
  const auto chosen = std::chrono::steady_clock::now();
  const std::clock_t cpu = std::clock();
  const bool opened = OpenDataFileInChart(file) == OpenResult::Ok;
  // A download that stopped keeps its whole blocks under a head that counts them all.
  StatusPanel(kFileNotePanel, opened ? IncompleteFileText(Data.CountPoint, Data.DeviceSampleCount) : "");
  if (!chart_) return;
  chart_->SyncFromScene();
  if (std::getenv("ACCELOG_TIMING")) chart_->TimeNextPaint(file, chosen, cpu);
}

void MainUi::SetCaption(const std::string& text) {
  if (window_) window_->SetCaption(QString::fromStdString(text));
}

void MainUi::SetMenuMark(int item, bool checked) {
  if (window_) window_->SetMenuMark(QString("File%1").arg(item, 3, 10, QChar('0')), checked);
}

void MainUi::LiveChartReady(int code, const std::string& file) {
  if (!chart_) return;
  ShowFileNameBox(file);
  if (code == 12) DispRealTimeDataReady_12();
  if (code == 13) DispRealTimeFrequencyReady_13();
  chart_->SyncFromScene();
}

void MainUi::ShowLivePoint() {
  if (!chart_) return;
  DispLivePoint();
  chart_->SyncFromScene();
}

void MainUi::ShowLiveSet() {
  if (!chart_) return;
  DispLiveSet();
  chart_->SyncFromScene();
}

void MainUi::ShowFrequencyFile(const std::string& file) {
  StatusPanel(kFileNotePanel, "");
  OpenFrequencyFileInChart(file);
  if (chart_) chart_->SyncFromScene();
}

}  // namespace accelog
