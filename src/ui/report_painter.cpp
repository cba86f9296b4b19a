#include "ui/report_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>

#include "app/chart_scene.h"
#include "app/report_layout.h"
#include "ui/qt_staged_file.h"

namespace accelog {
namespace {

constexpr int kPdfDpi = 600;
constexpr double kBodyPoints = 7.5;

// Millimetres on the page to device pixels; fonts keep their point sizes,
// which the device turns into its own pixels.
class Sheet {
 public:
  Sheet(QPainter& painter, double dots_per_mm) : p_(painter), k_(dots_per_mm) {}
  QPainter& painter() { return p_; }
  double D(double mm) const { return mm * k_; }
  QRectF R(double x, double y, double w, double h) const { return {D(x), D(y), D(w), D(h)}; }

  void Font(double points, bool bold = false, bool italic = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    p_.setFont(f);
  }
  // Text in a box of millimetres, cut short with an ellipsis when too wide.
  void Text(double x, double y, double w, double h, const std::string& text, int align) {
    const QRectF box = R(x, y, w, h);
    const QString s = QString::fromStdString(text);
    const QString fitted = s.contains('\n') ? s : QFontMetricsF(p_.font(), p_.device()).elidedText(s, Qt::ElideMiddle, box.width());
    p_.drawText(box, align | Qt::AlignVCenter, fitted);
  }
  void Line(double x1, double y1, double x2, double y2, QColor color, double width_mm) {
    p_.setPen(QPen(color, D(width_mm)));
    p_.drawLine(QPointF(D(x1), D(y1)), QPointF(D(x2), D(y2)));
  }

 private:
  QPainter& p_;
  double k_;
};

// Column widths scaled down to the width when they are wider.
std::vector<double> FitWidths(const ReportTable& t, double width) {
  double sum = 0;
  for (double w : t.widths) sum += w;
  std::vector<double> out = t.widths;
  if (sum > width) for (double& w : out) w *= width / sum;
  return out;
}

// Header row and rows [first, first + count) from y; returns the y after them.
double PaintTable(Sheet& s, const ReportTable& t, double x, double y, double width, int first, int count) {
  const double row = ReportContent::kRowHeight, pad = 1;
  const std::vector<double> widths = FitWidths(t, width);
  double total = 0;
  for (double w : widths) total += w;
  s.painter().fillRect(s.R(x, y, total, row), QColor(0xE4, 0xE4, 0xE4));
  s.painter().setPen(Qt::black);
  s.Font(kBodyPoints, true);
  auto cells = [&](const std::vector<std::string>& texts, double at) {
    double cx = x;
    for (size_t c = 0; c < texts.size() && c < widths.size(); ++c) {
      const int align = static_cast<int>(c) < t.left_columns ? Qt::AlignLeft : Qt::AlignRight;
      s.Text(cx + pad, at, widths[c] - 2 * pad, row, texts[c], align);
      cx += widths[c];
    }
  };
  cells(t.header, y);
  y += row;
  s.Font(kBodyPoints);
  for (int r = first; r < first + count && r < static_cast<int>(t.rows.size()); ++r) {
    if ((r - first) % 2 == 1) s.painter().fillRect(s.R(x, y, total, row), QColor(0xF4, 0xF4, 0xF4));
    s.painter().setPen(Qt::black);
    cells(t.rows[static_cast<size_t>(r)], y);
    y += row;
  }
  s.Line(x, y, x + total, y, QColor(0x90, 0x90, 0x90), 0.15);
  return y;
}

void PaintHead(Sheet& s, const ReportContent& r, const ReportBox& b) {
  s.painter().setPen(Qt::black);
  s.Font(14, true);
  s.Text(b.x, b.y, b.w, 8, r.title, Qt::AlignLeft);
  double y = b.y + 9;
  for (const auto& [key, value] : r.head) {
    s.Font(kBodyPoints + 0.5, true);
    s.Text(b.x, y, 24, ReportContent::kRowHeight, key, Qt::AlignLeft);
    s.Font(kBodyPoints + 0.5);
    s.Text(b.x + 24, y, b.w - 24, ReportContent::kRowHeight, value, Qt::AlignLeft);
    y += ReportContent::kRowHeight;
  }
}

void Heading(Sheet& s, const ReportBox& b, const std::string& text) {
  s.painter().setPen(Qt::black);
  s.Font(10, true);
  s.Text(b.x, b.y, b.w, ReportContent::kHeadingHeight - 1, text, Qt::AlignLeft);
}

QColor ChannelColor(int c) {
  const uint32_t rgb = CurveColor(c);
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void PaintChart(Sheet& s, const ReportChart& chart, const ReportBox& b) {
  QPainter& p = s.painter();
  Heading(s, b, "X, Y, Z and V over the whole file (mg), event spans shaded");
  // Legend at the heading's right.
  s.Font(kBodyPoints, true);
  const char* const names[kEventChannels] = {"X", "Y", "Z", "V"};
  for (int c = 0; c < kEventChannels; ++c) {
    const double lx = b.x + b.w - 4 * 13 + c * 13, ly = b.y + 3;
    s.Line(lx, ly, lx + 6, ly, ChannelColor(c), 0.6);
    p.setPen(Qt::black);
    s.Text(lx + 7, ly - 2, 5, 4, names[c], Qt::AlignLeft);
  }
  const double left = b.x + 15, top = b.y + ReportContent::kHeadingHeight, width = b.w - 16, height = 62;
  const QRectF plot = s.R(left, top, width, height);
  if (chart.columns > 0) {
    const double span = chart.high - chart.low;
    auto x_at = [&](double fraction) { return plot.left() + fraction * plot.width(); };
    auto y_at = [&](double mg) { return plot.bottom() - (mg - chart.low) / span * plot.height(); };
    for (const auto& [first, last] : chart.shaded) {
      const double x1 = x_at(static_cast<double>(first) / chart.columns), x2 = x_at((last + 1.0) / chart.columns);
      p.fillRect(QRectF(x1, plot.top(), std::max(x2 - x1, s.D(0.3)), plot.height()), QColor(0xFF, 0xD8, 0xA0));
    }
    s.Font(kBodyPoints - 0.5);
    for (double v = chart.low; v <= chart.high + chart.step / 2; v += chart.step) {
      const double y = y_at(v);
      p.setPen(QPen(QColor(0xC8, 0xC8, 0xC8), s.D(0.1)));
      p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
      p.setPen(Qt::black);
      p.drawText(QRectF(s.D(b.x), y - s.D(2), plot.left() - s.D(b.x) - s.D(1), s.D(4)), Qt::AlignRight | Qt::AlignVCenter,
                 QString::number(std::abs(v) < chart.step / 1e6 ? 0.0 : v, 'g', 6));
    }
    p.save();
    p.setClipRect(plot);
    for (int c = 0; c < kEventChannels; ++c) {
      QPainterPath path;
      bool drawing = false;
      for (int col = 0; col < chart.columns; ++col) {
        const ReportColumn& at = chart.curves[static_cast<size_t>(c)][static_cast<size_t>(col)];
        if (!at.any) {
          drawing = false;  // a column without a point breaks the curve
          continue;
        }
        const double x = x_at((col + 0.5) / chart.columns);
        if (drawing) path.lineTo(x, y_at(at.first));
        else path.moveTo(x, y_at(at.first));
        path.lineTo(x, y_at(at.min));
        path.lineTo(x, y_at(at.max));
        path.lineTo(x, y_at(at.last));
        drawing = true;
      }
      p.setPen(QPen(ChannelColor(c), s.D(0.18), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(path);
    }
    p.restore();
    s.Font(kBodyPoints - 0.5);
    p.setPen(Qt::black);
    for (const auto& [fraction, text] : chart.x_labels) {
      const double x = x_at(fraction);
      p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + s.D(1)));
      const double w = s.D(24);
      const double lx = std::clamp(x - w / 2, plot.left() - s.D(8), plot.right() + s.D(1) - w);
      p.drawText(QRectF(lx, plot.bottom() + s.D(1), w, s.D(8)), Qt::AlignHCenter | Qt::AlignTop,
                 QString::fromStdString(text));
    }
  }
  p.setPen(QPen(Qt::black, s.D(0.2)));
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot);
}

}  // namespace

void PaintReportPage(QPainter& painter, const ReportContent& r, const ReportPage& page, double dots_per_mm) {
  Sheet s(painter, dots_per_mm);
  painter.setRenderHint(QPainter::Antialiasing);
  if (page.summary) {
    PaintHead(s, r, page.head);
    Heading(s, page.statistics, "Statistics of the whole file, over the points that are not all-zero");
    const ReportBox& st = page.statistics;
    PaintTable(s, r.statistics, st.x, st.y + ReportContent::kHeadingHeight, st.w, 0, static_cast<int>(r.statistics.rows.size()));
    PaintChart(s, r.chart, page.chart);
  }
  const ReportBox& ev = page.events;
  Heading(s, ev, r.events_heading + (page.summary ? "" : " (continued)"));
  double y = ev.y + ReportContent::kHeadingHeight;
  if (page.rows > 0) y = PaintTable(s, r.events, ev.x, y, ev.w, page.first_row, page.rows);
  if (page.note) {
    painter.setPen(Qt::black);
    s.Font(kBodyPoints + 0.5, false, true);
    s.Text(ev.x + 1, y, ev.w - 1, ReportContent::kRowHeight, r.events_note, Qt::AlignLeft);
  }
  s.Font(kBodyPoints);
  painter.setPen(Qt::black);
  const double m = ReportContent::kMargin;
  s.Text(m, r.page_height - m - 4, r.page_width - 2 * m, 4, page.footer, Qt::AlignRight);
}

std::string WriteReportPdf(const std::string& path, const ReportContent& report) {
  return WriteStagedQtFile(path, [&](QIODevice& file) -> QString {
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfDpi);
    pdf.setTitle(QString::fromStdString(report.title));
    pdf.setCreator(QStringLiteral("accelog"));
    const QPageSize size(QSizeF(report.page_width, report.page_height), QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyMatch);
    if (!pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter)))
      return "the PDF does not take this paper size";
    QPainter painter;
    if (!painter.begin(&pdf)) return "the PDF cannot be drawn";
    for (size_t i = 0; i < report.pages.size(); ++i) {
      if (i > 0 && !pdf.newPage()) return "a new page could not be started";
      PaintReportPage(painter, report, report.pages[i], kPdfDpi / 25.4);
    }
    if (!painter.end()) return "the page could not be finished";
    return {};
  }, PdfWhole);
}

}  // namespace accelog
