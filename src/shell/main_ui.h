#pragma once
// The message port of the running program: the main window's dialogs and
// panels, the chart window's progress bar, and the menu enabling.
#include "shell/qt_ui.h"

namespace accelog {

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

 private:
  MainWindow* window_;
  FormPicture* chart_;
};

// MenuCommandCodeEnabledButton_nn on the chart window's fourteen controls.
void ApplyChartEnabling(int code, bool enabled);

}  // namespace accelog
