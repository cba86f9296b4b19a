#pragma once
// DialogInput as a Qt window: shows a DialogInputForm and forwards the keys,
// OK and Cancel to the keypad steps. Controls carry their layout names
// ("Text1", "Command1".., "OKButton") as object names.
#include <QDialog>

#include "app/keypad.h"

class QLineEdit;

namespace accelog {

class KeypadDialogQt : public QDialog {
  Q_OBJECT
 public:
  // The form must be loaded and filled; it outlives the window.
  explicit KeypadDialogQt(DialogInputForm& form, QWidget* parent = nullptr);

  void reject() override;
  // QDialog focuses the entry as if by Tab, which selects it all: the keys
  // append, so it is shown unselected with the cursor at its end instead.
  void setVisible(bool visible) override;

 private:
  void PressOk();
  void ShowEntry();

  DialogInputForm& form_;
  QLineEdit* text1_;
};

// The keypad port of the Qt program: each Show runs a fresh modal window
// over the active modal one.
class QtKeypadPort : public KeypadPort {
 public:
  void Show(DialogInputForm& form) override;
};
// Installs the Qt keypad unless a port (a test's) is already installed.
void InstallQtKeypadIfNone();

}  // namespace accelog
