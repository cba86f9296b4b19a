#include "ui/about_box.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/build_info.h"
#include "ui/twips.h"

namespace accelog {

QString AboutBox::TitleLine() { return QString("accelog %1").arg(kAccelogVersion); }
QString AboutBox::BuildLine() { return QString("Build %1").arg(kAccelogBuildNumber); }

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("FormHelp");
  setWindowTitle("about");
  setModal(true);
  UseChartBackColor(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 16);
  layout->setSpacing(8);
  auto* title = new QLabel(TitleLine(), this);
  QFont f = title->font();
  f.setPointSizeF(f.pointSizeF() * 1.5);
  f.setBold(true);
  title->setFont(f);
  layout->addWidget(title);
  layout->addWidget(new QLabel(BuildLine(), this));
  layout->addWidget(new QLabel("Set-up, download, live view and analysis for the three-axis USB acceleration logger.", this));
  layout->addWidget(new QLabel("Opens .kvx recordings as acceleration, vector-sum, tilt-angle and spectrum charts, lists them, exports them to text, xlsx and CSV, and prints them.", this));
  auto* exit = new QPushButton("EXIT", this);
  exit->setObjectName("Command1");
  exit->setDefault(true);
  UseChartBackColorButton(exit);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  layout->addSpacing(6);
  layout->addWidget(exit, 0, Qt::AlignRight);
  if (parent) move(parent->mapToGlobal(QPoint(TwipsToPixels(4000), TwipsToPixels(2000))));
}

void AboutBox::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace accelog
