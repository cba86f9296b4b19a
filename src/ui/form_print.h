#pragma once
// FormPrint ("PrintForm"): the print preview. A page (Frame22) with its four
// margin lines and the cut-out of the capture (Picture35), the margin
// read-out (Label33), and "Print", "Page Setup", "EXIT".
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/page_setup.h"
#include "app/print_layout.h"

class QLabel;
class QPushButton;

namespace accelog {

class UiPort;

class PrinterSystem;

class FormPrint : public QWidget {
  Q_OBJECT
 public:
  // The main window's size in twips sets the window's size and the zoom.
  // `job` (the capture's place and size, the printer) outlives the window.
  FormPrint(PrinterSystem& printers, PrintJob& job, int main_width, int main_height, UiPort& ui,
            QWidget* parent = nullptr);

  // LayOutPage: the page, lines and picture from the page set-up; the
  // picture is painted by the one-shot paint timer.
  void LayOutPage();

  void PrintPage();  // "Print"
  void ChangePageSetup();  // "Page Setup"

  // The modal dialogs; tests put scripted answers here.
  std::function<bool()> ChoosePrinter;  // true: "PDF file…" was chosen
  std::function<std::optional<PageSetup>(const PageSetup&)> EditPageSetup;
  // Runs once when the window closes ("EXIT" or the window's close box).
  std::function<void()> OnExit;

  QWidget* Frame22() const { return page_; }
  QWidget* Picture35() const { return picture_; }
  QLabel* Label33() const { return label33_; }
  QTimer* PaintTimer() { return &timer1_; }
  const PreviewLayout& Layout() const { return layout_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void PaintPage();
  void PaintPicture();
  void PageMouse(QEvent* event);
  void PictureMouse(QEvent* event);
  void LoadCapture();
  void PrintFailed(const QString& target, const QString& reason);

  PrinterSystem& printers_;
  PrintJob& job_;
  UiPort& ui_;
  int main_width_, main_height_;
  QWidget* page_;
  QWidget* picture_;
  QLabel* label33_;
  QPushButton* command1_;
  QPushButton* command2_;
  QPushButton* command3_;
  QTimer timer1_;
  QImage capture_;
  PreviewLayout layout_{};
  MarginLine held_ = MarginLine::None;
  QPoint last_picture_point_;  // twips
};

}  // namespace accelog
