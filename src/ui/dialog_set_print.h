#pragma once
// DialogSetPrint ("SetDefaultPrint"): the system's printers and, last, a
// "PDF file…" entry. "Print" makes the selected printer the user's default
// and the program's current printer, and closes.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace accelog {

class PrinterSystem;

class DialogSetPrint : public QDialog {
  Q_OBJECT
 public:
  DialogSetPrint(PrinterSystem& printers, QWidget* parent = nullptr);

  QListWidget* List1() const { return list_; }
  QPushButton* Command1() const { return command1_; }
  // "PDF file…" was the selection when "Print" closed the window.
  bool PdfChosen() const { return pdf_; }

  void Command1_Click();

 private:
  PrinterSystem& printers_;
  QListWidget* list_;
  QPushButton* command1_;
  bool pdf_ = false;
};

}  // namespace accelog
