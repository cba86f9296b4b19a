#pragma once
// DialogSetPrint ("SetDefaultPrint"): the system's printers and, last, a
// "PDF file…" entry. "Print" makes the selected printer the user's default
// and the program's current printer, and closes.
#include <QDialog>
#include <string>

class QListWidget;
class QPushButton;

namespace accelog {

class UiPort;

class PrinterSystem;

class DialogSetPrint : public QDialog {
  Q_OBJECT
 public:
  // current_printer: the program's printer, changed by "Print".
  DialogSetPrint(PrinterSystem& printers, std::string& current_printer, UiPort& ui, QWidget* parent = nullptr);

  QListWidget* List1() const { return list_; }
  QPushButton* Command1() const { return command1_; }
  // "PDF file…" was the selection when "Print" closed the window.
  bool PdfChosen() const { return pdf_; }

  // "Print": the selection becomes the default and the current printer.
  void UseSelectedPrinter();

 private:
  PrinterSystem& printers_;
  std::string& current_printer_;
  UiPort& ui_;
  QListWidget* list_;
  QPushButton* command1_;
  bool pdf_ = false;
};

}  // namespace accelog
