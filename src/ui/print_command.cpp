#include "ui/print_command.h"

#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <cmath>
#include <utility>

#include "app/chart.h"
#include "ui/form_picture.h"
#include "core/ui_port.h"
#include "model/dataset.h"
#include "ui/form_print.h"
#include "app/print_layout.h"
#include "ui/print_page.h"
#include "ui/twips.h"

namespace accelog {


PrintCommand::PrintCommand(QWidget* main_window, FormPicture* chart, PrinterSystem& printers, UiPort& ui,
                           std::unique_ptr<Timer> timer, const PrintJob& screen)
    : main_window_(main_window), chart_(chart), printers_(printers), ui_(ui), timer_(std::move(timer)) {
  job_.TwipsPerPixelX = screen.TwipsPerPixelX;
  job_.TwipsPerPixelY = screen.TwipsPerPixelY;
  job_.Parameters = screen.Parameters;
  timer_->OnTick = [this] { Tick(); };
}

PrintCommand::~PrintCommand() {
  timer_->Stop();
  if (preview_) {
    preview_->OnExit = nullptr;
    delete preview_;
  }
}

void PrintCommand::StartPrint() {
  if (chart_->Model().Data().MenuCommandCode == MenuOperation::None && !(chart_->Model().Data().DataLoaded || chart_->Model().Data().FrequencyFileLoaded)) {
    ui_.StatusPanel(kFileNotePanel, kOpenAFileFirst);
  }
  if (chart_->Model().Data().MenuCommandCode != MenuOperation::None || !(chart_->Model().Data().DataLoaded || chart_->Model().Data().FrequencyFileLoaded)) return;
  job_.PrintRequested = true;
  timer_->Start(500);
  job_.Step = PrintStep::LocateChart;
  chart_->Model().Data().MenuCommandCode = MenuOperation::Print;
}

void PrintCommand::Tick() {
  auto& step = job_.Step;
  switch (step) {
    case PrintStep::LocateChart:
      ClearBoard();
      LocateChart();
      step = PrintStep::Settle1;
      break;
    case PrintStep::Settle1:
      step = PrintStep::Settle2;
      break;
    case PrintStep::Settle2:
      step = PrintStep::Settle3;
      break;
    case PrintStep::Settle3:
      step = PrintStep::Capture;
      break;
    case PrintStep::Capture:
      CaptureMainWindow();
      step = PrintStep::SaveCapture;
      break;
    case PrintStep::SaveCapture:
      if (clipboard_.isNull()) {
        CaptureMainWindow();  // nothing came: try again at the next tick
        break;
      }
      if (!SaveCapture()) return Abandon();
      step = PrintStep::ShowPreview;
      break;
    case PrintStep::ShowPreview:
      timer_->Stop();
      ShowPreview();
      step = PrintStep::Idle;
      break;
    case PrintStep::Idle:
      timer_->Stop();
  }
}

void PrintCommand::ClearBoard() {
  clipboard_ = QImage();
  QFile::remove(CaptureFilePath());
}

void PrintCommand::LocateChart() {
  // The chart window's corner in the capture, which starts at the main
  // window's corner.
  const QPoint at = chart_->mapTo(main_window_, QPoint(0, 0));
  LocateChartInCapture(job_, chart_->Model().scene, static_cast<int32_t>(std::lround(at.x() * TwipsPerPixelX(job_))),
                       static_cast<int32_t>(std::lround(at.y() * TwipsPerPixelY(job_))));
}

void PrintCommand::CaptureMainWindow() {
  // The main window as it is shown, in device pixels; a chart scaled by Fit
  // to Window is captured at its normal size, which the crop is measured in.
  const double zoom = chart_ ? chart_->Zoom() : 1.0;
  if (zoom != 1.0) chart_->SetZoom(1.0);
  clipboard_ = main_window_->grab().toImage();
  if (zoom != 1.0) chart_->SetZoom(zoom);
}

bool PrintCommand::SaveCapture() {
  const QString path = CaptureFilePath();
  if (!clipboard_.save(path, "BMP") || QFileInfo(path).size() <= 0) {
    ui_.Message(path.toStdString() + ": the screen capture could not be written");
    return false;
  }
  MeasureCapture(job_, clipboard_);
  return true;
}

void PrintCommand::ShowPreview() {
  const int w = PixelsToTwips(main_window_->width()), h = PixelsToTwips(main_window_->height());
  preview_ = new FormPrint(printers_, job_, w, h, ui_, main_window_);
  preview_->OnExit = [this] { EndPrint(); };
  preview_->move(0, 0);
  preview_->show();
  preview_->LayOutPage();
}

void PrintCommand::EndPrint() {
  ChartSceneRecord& scene = chart_->Model().scene;
  for (int i = 1; i <= 13; ++i) scene.CheckBox[i].Visible = true;
  scene.AllPointsButton.Visible = true;
  chart_->SyncFromScene();
  chart_->Model().Data().MenuCommandCode = MenuOperation::None;
}

void PrintCommand::Abandon() {
  timer_->Stop();
  job_.Step = PrintStep::Idle;
  job_.PrintRequested = false;
  chart_->Model().Data().MenuCommandCode = MenuOperation::None;
}

}  // namespace accelog
