#include "ui/print_page.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "core/program_folder.h"
#include "ui/qt_staged_file.h"
#include "model/machine_parameter.h"
#include "app/print_layout.h"
#include "app/shell_rules.h"
#include "ui/twips.h"

namespace accelog {

QString CaptureFilePath() { return QString::fromStdString(ProgramFile("ScreenNew.bmp")); }

// The job's twips per pixel when it has them, else the screen's now.
double TwipsPerPixelX(const PrintJob& job) {
  if (job.TwipsPerPixelX > 0) return job.TwipsPerPixelX;
  const QScreen* s = QGuiApplication::primaryScreen();
  return 1440.0 / (s ? s->logicalDotsPerInchX() : LogicalDpi());
}
double TwipsPerPixelY(const PrintJob& job) {
  if (job.TwipsPerPixelY > 0) return job.TwipsPerPixelY;
  const QScreen* s = QGuiApplication::primaryScreen();
  return 1440.0 / (s ? s->logicalDotsPerInchY() : LogicalDpi());
}

void MeasureCapture(PrintJob& job, const QImage& capture) {
  const double dpr = capture.devicePixelRatio();
  job.CaptureWidth = static_cast<int32_t>(std::lround(capture.width() / dpr * TwipsPerPixelX(job)));
  job.CaptureHeight = static_cast<int32_t>(std::lround(capture.height() / dpr * TwipsPerPixelY(job)));
}

void DrawCutOut(QPainter& painter, const PrintJob& job, const QImage& capture, const QRectF& target) {
  if (capture.isNull() || job.CaptureWidth <= 0) return;
  // Twips to capture pixels, once: the capture is in device pixels.
  const double k = capture.width() / static_cast<double>(job.CaptureWidth);
  const TwipRect s = CutOutSource(job);
  const QRectF source(s.Left * k, s.Top * k, s.Width * k, s.Height * k);
  const QRectF inside = source.intersected(QRectF(capture.rect()));
  if (inside.isEmpty()) return;
  const double sx = target.width() / source.width(), sy = target.height() / source.height();
  const QRectF to(target.left() + (inside.left() - source.left()) * sx,
                  target.top() + (inside.top() - source.top()) * sy, inside.width() * sx, inside.height() * sy);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(to, capture, inside);
}

namespace {

QPageLayout CutOutPageLayout(const PrintJob& job) {
  const auto& m = job.PageSetup();
  const PageTwips page = PageSizeTwips(m.PaperWidth, m.PaperHeight, m.PaperDirection);
  const double w_mm = page.Width / kTwipsPerMm, h_mm = page.Height / kTwipsPerMm;
  const QPageSize size(QSizeF(std::min(w_mm, h_mm), std::max(w_mm, h_mm)), QPageSize::Millimeter, QString(),
                       QPageSize::FuzzyMatch);
  return QPageLayout(size, w_mm > h_mm ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                     QPageLayout::Millimeter);
}

QString PaintCutOut(QPagedPaintDevice& device, int dpi, const PrintJob& job, const QImage& capture) {
  if (!device.setPageLayout(CutOutPageLayout(job))) return "the printer does not take this paper size";
  QPainter painter;
  if (!painter.begin(&device)) return "the printer cannot be opened";
  const double k = dpi / 1440.0;  // device pixels per twip
  const TwipRect at = PrintedPicture(job);
  DrawCutOut(painter, job, capture, QRectF(at.Left * k, at.Top * k, at.Width * k, at.Height * k));
  if (!painter.end()) return "the page could not be finished";
  return {};
}

}  // namespace

QString PrintCutOut(QPrinter& printer, const PrintJob& job, const QImage& capture) {
  printer.setFullPage(true);
  return PaintCutOut(printer, printer.resolution(), job, capture);
}

std::string PrintCutOutToPdf(const std::string& path, const PrintJob& job, const QImage& capture) {
  return WriteStagedQtFile(path, [&](QIODevice& file) {
    QPdfWriter pdf(&file);
    pdf.setResolution(1200);
    return PaintCutOut(pdf, pdf.resolution(), job, capture);
  }, PdfWhole);
}

}  // namespace accelog
