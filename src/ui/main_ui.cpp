#include "ui/main_ui.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "app/chart.h"
#include "app/file_menu.h"
#include "ui/form_picture.h"
#include "model/kvx_file.h"
#include "model/dataset.h"
#include "ui/main_window.h"
#include "app/shell_rules.h"
#include "ui/tool_bar.h"

namespace accelog {

void ApplyChartEnabling(ChartSceneRecord& scene, int code, bool enabled) {
  const EnabledSet s = MenuCommandCodeEnabledButton(code, enabled);
  for (int c = 1; c <= 13; ++c) {
    if (s.control_touched[static_cast<size_t>(c - 1)]) scene.CheckBox[c].Enabled = s.enabled;
  }
  if (s.control_touched[kAllPointControl]) scene.AllPointsButton.Enabled = s.enabled;
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
  const bool enabled = window_->Data().MenuCommandCode == MenuOperation::None;
  window_->ToolBar()->ApplyEnabling(code, enabled);
  ApplyChartEnabling(chart_->Model().scene, code, enabled);
  chart_->SyncFromScene();
}

void MainUi::ClearChart() {
  // Every piece of work starts here: a diagnostic of an earlier run goes.
  if (window_) window_->SetCaption({});
  if (!chart_) return;
  chart_->Model().ClearTexts();
  chart_->Model().ClearPlot();
  chart_->SyncFromScene();
}

void MainUi::ShowDataFile(const std::string& file) {
  const auto chosen = std::chrono::steady_clock::now();
  const std::clock_t cpu = std::clock();
  // Without the chart window the file is read all the same.
  if (!chart_) window_->Data().DataFileName = file;
  const OpenOutcome outcome = chart_ ? chart_->Model().OpenDataFile(file) : window_->Data().Open(file);
  ShowRefusal(*this, outcome);
  const bool opened = outcome == OpenResult::Ok;
  // A download that stopped keeps its whole blocks under a head that counts them all.
  StatusPanel(kFileNotePanel, opened ? IncompleteFileText(window_->Data().CountPoint, window_->Data().DeviceSampleCount) : "");
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
  Chart& chart = chart_->Model();
  chart.ShowFileNameBox(file);
  if (code == 12) chart.PrepareLiveData();
  if (code == 13) chart.PrepareLiveSpectrum();
  chart_->SyncFromScene();
}

void MainUi::ShowLivePoint() {
  if (!chart_) return;
  chart_->Model().ShowLivePoint();
  chart_->SyncFromScene();
}

void MainUi::ShowLiveSet() {
  if (!chart_) return;
  chart_->Model().ShowLiveSet();
  chart_->SyncFromScene();
}

void MainUi::ShowFrequencyFile(const std::string& file) {
  StatusPanel(kFileNotePanel, "");
  if (!chart_) {
    ShowRefusal(*this, window_->Data().ReadFrequencyFile(file));
    return;
  }
  ShowRefusal(*this, chart_->Model().OpenFrequencyFile(file));
  chart_->SyncFromScene();
}

}  // namespace accelog
