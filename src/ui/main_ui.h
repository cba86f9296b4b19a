#pragma once
// The message port of the running program: the main window's dialogs and
// panels, the chart window's progress bar, and the menu enabling.
#include "ui/qt_ui.h"

namespace accelog {

struct ChartSceneRecord;
class FormPicture;
class MainWindow;

class MainUi : public QtUi {
 public:
  MainUi(MainWindow* window, FormPicture* chart);

  void ProgressShow(int minimum, int maximum) override;
  void ProgressValue(int value) override;
  void ProgressHide() override;
  // The routine's argument follows from the state: an operation that holds
  // MenuCommandCode disables, idle enables again.
  void RestoreMenus(int code) override;
  void ClearChart() override;
  void ShowDataFile(const std::string& file) override;
  void ShowFrequencyFile(const std::string& file) override;

  void SetCaption(const std::string& text) override;
  void SetMenuMark(int item, bool checked) override;
  void LiveChartReady(int code, const std::string& file) override;
  void ShowLivePoint() override;
  void ShowLiveSet() override;
  // Beside "No Device !" a hint points to File > "Use Simulated Logger"
  // while the program uses the logger on USB.
  void StatusPanel(int panel, const std::string& text) override;
  void SetSimulatedLogger(bool on) { simulated_ = on; }

 private:
  MainWindow* window_;
  FormPicture* chart_;
  bool simulated_ = false;
};

inline constexpr const char* kSimulatorHint = "No logger? File > Use Simulated Logger";

// MenuCommandCodeEnabledButton_nn on the chart window's fourteen controls.
void ApplyChartEnabling(ChartSceneRecord& scene, int code, bool enabled);

}  // namespace accelog
