#pragma once
// "Print": the capture timer's steps capture the main window as it is
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
class UiPort;

class PrintCommand {
 public:
  // timer: the capture's steps; screen: the start-up screen metrics the
  // capture is measured with, and the store of the page set-up.
  PrintCommand(QWidget* main_window, FormPicture* chart, PrinterSystem& printers, UiPort& ui,
               std::unique_ptr<Timer> timer, const PrintJob& screen = {});
  ~PrintCommand();

  // "Print": the capture starts, when a file is in view and nothing runs.
  void StartPrint();
  FormPrint* Preview() const { return preview_; }
  const PrintJob& Job() const { return job_; }

 private:
  void Tick();
  void ClearBoard();
  void LocateChart();
  void CaptureMainWindow();
  bool SaveCapture();
  void ShowPreview();
  void EndPrint();
  void Abandon();

  QWidget* main_window_;
  FormPicture* chart_;
  PrinterSystem& printers_;
  UiPort& ui_;
  PrintJob job_;
  std::unique_ptr<Timer> timer_;
  QImage clipboard_;
  QPointer<FormPrint> preview_;
};

}  // namespace accelog
