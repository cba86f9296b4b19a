#pragma once
#include <QWidget>

class QTextBrowser;

namespace accelog {

// The user manual, shipped inside the program, in a browser window.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace accelog
