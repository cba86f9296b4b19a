#pragma once
// The recording-parameter dialog as a Qt window. All rules live in the
// widget-free form (app/parameter_dialog.h); this window shows the form, forwards
// every click to it and redraws. Controls carry their layout names
// ("Text2", "Option1", "Frame7", "OKButton" ...) as object names.
#include <QDialog>
#include <array>

#include "app/parameter_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace accelog {

class UiPort;

class ParameterDialogQt : public QDialog {
  Q_OBJECT
 public:
  // Opens the layout the store's ParameterDialogMode names; OK saves through
  // the store, the value boxes open `keypad`, the clock boxes follow `clock`.
  ParameterDialogQt(ParameterStore& store, KeypadPort& keypad, UiPort& ui, ClockReading (*clock)() = ReadClock,
                    QWidget* parent = nullptr);

  const ParameterForm& Form() const { return form_; }
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void Refresh();
  void PressOk();
  void OpenKeypad(int box);

  ParameterStore& store_;
  KeypadPort& keypad_;
  UiPort& ui_;
  ClockReading (*clock_)();
  ParameterForm form_;
  std::array<QLineEdit*, 20> text_{};
  std::array<QRadioButton*, 12> option_{};
  std::array<QGroupBox*, 9> frame_{};
  QLabel* label18_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTimer* timer1_ = nullptr;
};

}  // namespace accelog
