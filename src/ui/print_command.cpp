#include "ui/print_command.h"

#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <cmath>

#include "app/chart_scene.h"
#include "ui/form_picture.h"
#include "core/ui_port.h"
#include "model/state.h"
#include "ui/form_print.h"
#include "app/print_layout.h"
#include "ui/print_page.h"
#include "ui/twips.h"

namespace accelog {


PrintCommand::PrintCommand(QWidget* main_window, FormPicture* chart, PrinterSystem& printers)
    : main_window_(main_window), chart_(chart), printers_(printers), timer3_(MakeTimer()) {
  timer3_->OnTick = [this] { Tick(); };
}

PrintCommand::~PrintCommand() {
  timer3_->Stop();
  if (preview_) {
    preview_->OnExit = nullptr;
    delete preview_;
  }
}

void PrintCommand::File006_Click() {
  if (Data.MenuCommandCode == MenuOperation::None && !(Data.DataLoaded || Data.FrequencyFileLoaded)) {
    Ui().StatusPanel(kFileNotePanel, kOpenAFileFirst);
  }
  if (Data.MenuCommandCode != MenuOperation::None || !(Data.DataLoaded || Data.FrequencyFileLoaded)) return;
  PrintState.PrintRequested = true;
  timer3_->Start(500);
  PrintState.PrintStep = 1;
  Data.MenuCommandCode = MenuOperation::Print;
}

void PrintCommand::Tick() {
  auto& step = PrintState.PrintStep;
  switch (step) {
    case 1:
      ClearBoard();
      Beging();
      step = 2;
      break;
    case 2:
    case 3:
    case 4:
      ++step;
      break;
    case 5:
      PressPrintScreen();
      step = 6;
      break;
    case 6:
      if (clipboard_.isNull()) {
        PressPrintScreen();  // nothing came: try again at the next tick
        break;
      }
      if (!MakePicture()) return Abandon();
      step = 7;
      break;
    case 7:
      timer3_->Stop();
      ShowPreview();
      step = 0;
      break;
    default:
      timer3_->Stop();
  }
}

void PrintCommand::ClearBoard() {
  clipboard_ = QImage();
  QFile::remove(CaptureFilePath());
}

void PrintCommand::Beging() {
  // The chart window's corner in the capture, which starts at the main
  // window's corner.
  const QPoint at = chart_->mapTo(main_window_, QPoint(0, 0));
  PrintBeging(static_cast<int32_t>(std::lround(at.x() * TwipsPerPixelX())),
              static_cast<int32_t>(std::lround(at.y() * TwipsPerPixelY())));
}

void PrintCommand::PressPrintScreen() {
  // The main window as it is shown, in device pixels; a chart scaled by Fit
  // to Window is captured at its normal size, which the crop is measured in.
  const double zoom = chart_ ? chart_->Zoom() : 1.0;
  if (zoom != 1.0) chart_->SetZoom(1.0);
  clipboard_ = main_window_->grab().toImage();
  if (zoom != 1.0) chart_->SetZoom(zoom);
}

bool PrintCommand::MakePicture() {
  const QString path = CaptureFilePath();
  if (!clipboard_.save(path, "BMP") || QFileInfo(path).size() <= 0) {
    Ui().Message(path.toStdString() + ": the screen capture could not be written");
    return false;
  }
  MeasureCapture(clipboard_);
  return true;
}

void PrintCommand::ShowPreview() {
  const int w = PixelsToTwips(main_window_->width()), h = PixelsToTwips(main_window_->height());
  preview_ = new FormPrint(printers_, w, h, main_window_);
  preview_->OnExit = [this] { PrintEnd(); };
  preview_->move(0, 0);
  preview_->show();
  preview_->DispPicture();
}

void PrintCommand::PrintEnd() {
  for (int i = 1; i <= 13; ++i) ChartScene.Check[i].Visible = true;
  ChartScene.Command1.Visible = true;
  chart_->SyncFromScene();
  Data.MenuCommandCode = MenuOperation::None;
}

void PrintCommand::Abandon() {
  timer3_->Stop();
  PrintState.PrintStep = 0;
  PrintState.PrintRequested = false;
  Data.MenuCommandCode = MenuOperation::None;
}

}  // namespace accelog
