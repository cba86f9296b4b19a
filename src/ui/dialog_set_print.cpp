#include "ui/dialog_set_print.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ui_port.h"
#include "model/text_util.h"
#include "app/print_layout.h"
#include "app/printers.h"

namespace accelog {

namespace {
constexpr const char* kPdfEntry = "PDF file\u2026";
}

DialogSetPrint::DialogSetPrint(PrinterSystem& printers, std::string& current_printer, UiPort& ui, QWidget* parent)
    : QDialog(parent), printers_(printers), current_printer_(current_printer), ui_(ui) {
  setObjectName("DialogSetPrint");
  setWindowTitle("SetDefaultPrint");
  list_ = new QListWidget(this);
  list_->setObjectName("List1");
  for (const std::string& name : printers_.Names()) {
    if (!TrimBlanks(name).empty()) list_->addItem(QString::fromStdString(TrimBlanks(name)));
  }
  auto* pdf = new QListWidgetItem(kPdfEntry);
  pdf->setData(Qt::UserRole, true);
  list_->addItem(pdf);
  command1_ = new QPushButton("Print", this);
  command1_->setObjectName("Command1");
  auto* box = new QVBoxLayout(this);
  box->addWidget(list_);
  box->addWidget(command1_);
  connect(command1_, &QPushButton::clicked, this, &DialogSetPrint::UseSelectedPrinter);
  connect(list_, &QListWidget::itemDoubleClicked, this, &DialogSetPrint::UseSelectedPrinter);
}

void DialogSetPrint::UseSelectedPrinter() {
  QListWidgetItem* item = list_->currentItem();
  if (item && item->isSelected()) {
    if (item->data(Qt::UserRole).toBool()) {
      pdf_ = true;
    } else {
      const std::string name = item->text().toStdString();
      const int error = printers_.SetDefault(name);
      if (error == 0) {
        if (current_printer_ != name) current_printer_ = name;
      } else {
        ui_.Message("SetPrinter Failed. Error code: " + std::to_string(error));
      }
    }
  }
  accept();
}

}  // namespace accelog
