#pragma once
// DialogPage ("Page Setup"): paper, direction, margins, picture scale and
// picture moves. OK checks the boxes and keeps the values for the caller.
#include <QDialog>

#include "app/page_setup.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace accelog {

class UiPort;

class DialogPage : public QDialog {
  Q_OBJECT
 public:
  DialogPage(const PageSetup& values, UiPort& ui, QWidget* parent = nullptr);

  // The values taken by OK.
  const PageSetup& Values() const { return values_; }

  QLineEdit* Text(int n) const { return text_[n - 1]; }        // Text1..Text9
  QRadioButton* Paper(int kind) const { return paper_[kind]; }  // by PaperKind
  QRadioButton* Option4() const { return vertical_; }
  QRadioButton* Option5() const { return horizontal_; }
  QPushButton* Button(const QString& name) const;  // by control name

  void AcceptValues();

 private:
  int SelectedKind() const;
  void Step(int text, int delta);

  PageSetup values_;
  UiPort& ui_;
  QLineEdit* text_[9] = {};
  QRadioButton* paper_[6] = {};
  QRadioButton* vertical_ = nullptr;
  QRadioButton* horizontal_ = nullptr;
};

}  // namespace accelog
