#pragma once
// "Print" (File006_Click): Timer3's steps capture the main window as it is
// shown, save it as ScreenNew.bmp in the program's folder, find the chart in
// it and open the preview. MenuCommandCode is 18 until the preview closes.
#include <QImage>
#include <QPointer>
#include <memory>

#include "core/timer.h"
#include "ui/form_print.h"

class QWidget;

namespace accelog {

class FormPicture;
class PrinterSystem;

class PrintCommand {
 public:
  PrintCommand(QWidget* main_window, FormPicture* chart, PrinterSystem& printers);
  ~PrintCommand();

  void File006_Click();
  FormPrint* Preview() const { return preview_; }

 private:
  void Tick();  // Timer3
  void ClearBoard();
  void Beging();
  void PressPrintScreen();
  bool MakePicture();
  void ShowPreview();
  void PrintEnd();
  void Abandon();

  QWidget* main_window_;
  FormPicture* chart_;
  PrinterSystem& printers_;
  std::unique_ptr<Timer> timer3_;
  QImage clipboard_;
  QPointer<FormPrint> preview_;
};

}  // namespace accelog
