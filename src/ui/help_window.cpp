#include "ui/help_window.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/twips.h"

// The manual is compiled into a static library: register it by hand.
static void InitManualResource() { Q_INIT_RESOURCE(help); }

namespace accelog {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  InitManualResource();
  setObjectName("HelpWindow");
  setWindowTitle("accelog Help");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl("qrc:/manual/index.html"));
  layout->addWidget(browser_);
  resize(820, 680);
  CloseOnEscapeAndCtrlW(this);
}

}  // namespace accelog
