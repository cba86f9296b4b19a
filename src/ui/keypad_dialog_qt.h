#pragma once
// The keypad as a Qt window: shows a KeypadForm and forwards the keys,
// OK and Cancel to the keypad steps. Controls carry their layout names
// ("Text1", "Command1".., "OKButton") as object names.
#include <QDialog>

#include "app/keypad.h"
#include "model/machine_parameter.h"

class QLineEdit;

namespace accelog {

class UiPort;

class KeypadDialogQt : public QDialog {
  Q_OBJECT
 public:
  // The form must be loaded and filled; it outlives the window.
  KeypadDialogQt(KeypadForm& form, int16_t language_flag, UiPort& ui, QWidget* parent = nullptr);

  void reject() override;
  // QDialog focuses the entry as if by Tab, which selects it all: the keys
  // append, so it is shown unselected with the cursor at its end instead.
  void setVisible(bool visible) override;

 private:
  void PressOk();
  void ShowEntry();

  KeypadForm& form_;
  UiPort& ui_;
  QLineEdit* text1_;
};

// The keypad port of the Qt program: each Show runs a fresh modal window
// over the active modal one, in the language the parameters name.
class QtKeypadPort : public KeypadPort {
 public:
  QtKeypadPort(const RecordingParameters& values, UiPort& ui) : values_(values), ui_(ui) {}
  std::optional<int16_t> Show(KeypadForm& form) override;

 private:
  const RecordingParameters& values_;
  UiPort& ui_;
};

}  // namespace accelog
