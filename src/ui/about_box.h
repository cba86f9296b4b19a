#pragma once
#include <QDialog>

namespace accelog {

// FormHelp: product title and version, build number, two lines about it.
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent = nullptr);
  static QString TitleLine();
  static QString BuildLine();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace accelog
