#pragma once
// The message port as the main window shows it: message boxes with a
// one-blank title, file dialogs, the status bar panels and the progress bar.
// Tests subclass it and override the modal pieces.
#include <QPointer>
#include <QWidget>

#include <memory>

#include "app/keypad.h"
#include "app/parameter_dialog.h"
#include "core/ui_port.h"
#include "model/machine_parameter.h"

class QLabel;
class QProgressBar;

namespace accelog {

class QtUi : public UiPort {
 public:
  explicit QtUi(QWidget* parent) : parent_(parent) {}

  void Message(const std::string& text, MessageIcon icon) override;
  void MessageWith(const std::string& text, MessageIcon icon, const std::string& title,
                   const std::string& explanation) override;
  bool AskOkCancel(const std::string& text) override;
  bool AskOkCancel(const std::string& text, const std::string& title) override;
  std::string OpenFileName(const std::string& title, const std::string& filter) override;
  std::string SaveFileName(const std::string& title, const std::string& filter) override;
  ExportChoice ExportFileName(const std::string& title,
                              const std::vector<std::pair<std::string, std::string>>& filters) override;
  void ProcessMessages() override;
  void StatusPanel(int panel, const std::string& text) override;
  void ProgressShow(int minimum, int maximum) override;
  void ProgressValue(int value) override;
  void ProgressHide() override;
  void BusyPointer(bool busy) override;
  // The parameter dialog, modal over the main window, on the store the
  // program hands in; without one the port's default answers.
  void ShowParameterDialog() override;
  void UseParameterStore(ParameterStore* store, ClockReading (*clock)() = ReadClock);
  // The keypad the dialog opens: the Qt window unless a test hands in its own.
  void UseKeypad(KeypadPort* keypad) { keypad_ = keypad; }

  void SetPanels(QLabel* const* panels);
  void SetProgressBar(QProgressBar* bar);
  QString PanelText(int panel) const;

 protected:
  QPointer<QWidget> parent_;

 private:
  QPointer<QLabel> panels_[5];
  QPointer<QProgressBar> progress_;
  QString last_folder_;
  ParameterStore* parameters_ = nullptr;
  ClockReading (*clock_)() = ReadClock;
  std::unique_ptr<KeypadPort> qt_keypad_;
  KeypadPort* keypad_ = nullptr;
};

}  // namespace accelog
