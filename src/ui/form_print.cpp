#include "ui/form_print.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "core/ui_port.h"
#include "core/program_folder.h"
#include "model/machine_parameter.h"
#include "ui/dialog_page.h"
#include "ui/dialog_set_print.h"
#include "ui/print_page.h"
#include "ui/twips.h"

namespace accelog {

namespace {

QPointF TwipsOf(const QPointF& pixels) { return pixels * (1440.0 / LogicalDpi()); }

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setGeometry(TwipsToPixels(left), TwipsToPixels(60), TwipsToPixels(1400), TwipsToPixels(380));
  return b;
}

}  // namespace

FormPrint::FormPrint(PrinterSystem& printers, PrintJob& job, int main_width, int main_height, UiPort& ui,
                     QWidget* parent)
    : QWidget(parent, Qt::Window),
      printers_(printers),
      job_(job),
      ui_(ui),
      main_width_(main_width),
      main_height_(main_height) {
  setObjectName("FormPrint");
  setWindowTitle("PrintForm");
  setAttribute(Qt::WA_DeleteOnClose);
  UseChartBackColor(this);
  resize(TwipsToPixels(main_width - 500), TwipsToPixels(main_height - 1400));

  page_ = new QWidget(this);
  page_->setObjectName("Frame22");
  page_->setMouseTracking(true);
  page_->installEventFilter(this);
  page_->hide();
  picture_ = new QWidget(page_);
  picture_->setObjectName("Picture35");
  picture_->setMouseTracking(true);
  picture_->installEventFilter(this);
  label33_ = new QLabel(page_);
  label33_->setObjectName("Label33");
  label33_->hide();

  command1_ = MakeButton(this, "Command1", "Print", 500);
  command2_ = MakeButton(this, "Command2", "Page Setup", 2100);
  command3_ = MakeButton(this, "Command3", "EXIT", 3700);
  connect(command1_, &QPushButton::clicked, this, &FormPrint::PrintPage);
  connect(command2_, &QPushButton::clicked, this, &FormPrint::ChangePageSetup);
  connect(command3_, &QPushButton::clicked, this, &QWidget::close);
  CloseOnEscapeAndCtrlW(this);

  timer1_.setSingleShot(true);
  timer1_.setInterval(500);
  connect(&timer1_, &QTimer::timeout, this, &FormPrint::LoadCapture);

  ChoosePrinter = [this] {
    DialogSetPrint dialog(printers_, job_.CurrentPrinter, ui_, this);
    dialog.exec();
    return dialog.PdfChosen();
  };
  EditPageSetup = [this](const PageSetup& values) -> std::optional<PageSetup> {
    DialogPage dialog(values, ui_, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Values();
  };
}

void FormPrint::LayOutPage() {
  layout_ = LayOutPreview(job_, main_width_, main_height_);
  const int w = TwipsToPixels(layout_.PageWidth), h = TwipsToPixels(layout_.PageHeight);
  page_->setGeometry((width() - w) / 2, TwipsToPixels(500), w, h);
  const TwipRect& p = layout_.Picture;
  picture_->setGeometry(TwipsToPixels(p.Left), TwipsToPixels(p.Top), TwipsToPixels(p.Width),
                        TwipsToPixels(p.Height));
  page_->show();
  page_->update();
  timer1_.start();
  job_.PrintRequested = false;
}

void FormPrint::LoadCapture() {
  // Preview painting: the capture as the file holds it.
  const QString path = CaptureFilePath();
  capture_ = QImage(path);
  if (capture_.isNull()) ui_.Message("打印command12错误 \n" + path.toStdString() + ": cannot be read");
  picture_->update();
}

bool FormPrint::eventFilter(QObject* watched, QEvent* event) {
  if (watched == page_) {
    if (event->type() == QEvent::Paint) {
      PaintPage();
      return true;
    }
    PageMouse(event);
  } else if (watched == picture_) {
    if (event->type() == QEvent::Paint) {
      PaintPicture();
      return true;
    }
    PictureMouse(event);
  }
  return QWidget::eventFilter(watched, event);
}

void FormPrint::PaintPage() {
  QPainter p(page_);
  p.fillRect(page_->rect(), Qt::white);
  p.setPen(QPen(Qt::black, 1, Qt::DashLine));
  const auto& s = job_;
  const double h = layout_.PageHeight;
  // Lines follow the view margins, so a dragged line moves at once.
  const int top = s.ViewMarginTop, down = static_cast<int>(h) - s.ViewMarginDown;
  const int left = s.ViewMarginLeft, right = static_cast<int>(layout_.PageWidth) - s.ViewMarginRight;
  p.drawLine(0, TwipsToPixels(top), page_->width(), TwipsToPixels(top));
  p.drawLine(0, TwipsToPixels(down), page_->width(), TwipsToPixels(down));
  p.drawLine(TwipsToPixels(left), TwipsToPixels(100), TwipsToPixels(left), TwipsToPixels(h));
  p.drawLine(TwipsToPixels(right), TwipsToPixels(100), TwipsToPixels(right), TwipsToPixels(h));
  p.setPen(Qt::gray);
  p.drawRect(page_->rect().adjusted(0, 0, -1, -1));
}

void FormPrint::PaintPicture() {
  QPainter p(picture_);
  p.fillRect(picture_->rect(), Qt::white);
  DrawCutOut(p, job_, capture_, QRectF(picture_->rect()));
}

void FormPrint::PageMouse(QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) return;
  const QPointF at = TwipsOf(static_cast<QMouseEvent*>(event)->position());
  if (type == QEvent::MouseButtonPress) {
    job_.MarginDragging = true;
    held_ = MarginLineNear(layout_, at.x(), at.y());
    return;
  }
  if (type == QEvent::MouseButtonRelease) {
    job_.MarginDragging = false;
    held_ = MarginLine::None;
    label33_->hide();
    LayOutPage();
    return;
  }
  const MarginLine near = MarginLineNear(layout_, at.x(), at.y());
  const MarginLine line = held_ != MarginLine::None ? held_ : near;
  if (line == MarginLine::Left || line == MarginLine::Right) {
    page_->setCursor(Qt::SizeHorCursor);
  } else if (line != MarginLine::None) {
    page_->setCursor(Qt::SizeVerCursor);
  } else {
    page_->setCursor(Qt::ArrowCursor);
  }
  if (!job_.MarginDragging || line == MarginLine::None) return;
  // The line caught keeps following the pointer until the button is let go.
  held_ = line;
  const int mm = DragMarginLine(job_, line, layout_, at.x(), at.y());
  label33_->setText(QString("%1mm").arg(mm));
  label33_->adjustSize();
  label33_->move(TwipsToPixels(at.x() + 500), TwipsToPixels(at.y() + 500));
  label33_->show();
  label33_->raise();
  page_->update();
}

void FormPrint::PictureMouse(QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    const QPointF at = TwipsOf(static_cast<QMouseEvent*>(event)->position());
    last_picture_point_ = QPoint(static_cast<int>(at.x()), static_cast<int>(at.y()));
  } else if (event->type() == QEvent::MouseButtonDblClick) {
    const TwipRect& p = layout_.Picture;
    if (MovePictureByZone(job_, last_picture_point_.x(), last_picture_point_.y(), p.Width, p.Height)) LayOutPage();
  }
}

void FormPrint::PrintFailed(const QString& target, const QString& reason) {
  ui_.Message(("打印command13错误 \n" + target + ": " + reason).toStdString());
}

void FormPrint::PrintPage() {
  const bool pdf = ChoosePrinter();
  QPrinter printer(QPrinter::HighResolution);
  QString target;
  if (pdf) {
    target = QString::fromStdString(ui_.SaveFileName("Print to PDF", "*.pdf"));
    if (target.trimmed().isEmpty()) return;
    if (QFileInfo(target).suffix().compare("pdf", Qt::CaseInsensitive) != 0) target += ".pdf";
  } else {
    target = QString::fromStdString(job_.CurrentPrinter);
    if (target.isEmpty()) target = QPrinterInfo::defaultPrinterName();
    if (target.isEmpty()) {
      PrintFailed("printer", "no printer is installed; choose \"PDF file\u2026\"");
      return;
    }
    printer.setPrinterName(target);
  }
  const QImage capture(CaptureFilePath());
  if (capture.isNull()) return PrintFailed(CaptureFilePath(), "cannot be read");
  if (pdf) {
    const std::string error = PrintCutOutToPdf(QFile::encodeName(target).toStdString(), job_, capture);
    if (!error.empty()) ui_.Message("打印command13错误 \n" + error);
    return;
  }
  const QString error = PrintCutOut(printer, job_, capture);
  if (!error.isEmpty()) PrintFailed(target, error);
}

void FormPrint::ChangePageSetup() {
  const std::optional<PageSetup> values = EditPageSetup(CurrentPageSetup(job_.PageSetup()));
  if (!values) return;
  ApplyPageSetup(job_.PageSetup(), *values);
  if (!job_.Parameters->SavePageSetup().Ok()) {
    ui_.Message(job_.Parameters->File(kIntegerFileName) + ": the page set-up could not be written");
  }
  LayOutPage();
}

void FormPrint::closeEvent(QCloseEvent* event) {
  timer1_.stop();
  if (OnExit) {
    auto exit = std::move(OnExit);
    OnExit = nullptr;
    exit();
  }
  QWidget::closeEvent(event);
}

}  // namespace accelog
