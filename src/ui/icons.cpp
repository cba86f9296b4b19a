#include "ui/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

#include "app/shell_rules.h"

namespace accelog {
namespace {

const QColor kInk(40, 60, 90);
const QColor kAccent(30, 120, 200);
const QColor kPaper(252, 252, 248);

void Live(QPainter& p) {  // a small red "live" dot in the top right corner
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 40, 40));
  p.drawEllipse(QPointF(26, 6), 3.5, 3.5);
}

void Wave(QPainter& p, double top, double amp) {
  QPainterPath path;
  path.moveTo(3, top);
  for (int x = 3; x <= 29; ++x) path.lineTo(x, top - amp * std::sin((x - 3) * 0.55));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
}

void Bars(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  const int h[] = {6, 18, 11, 22, 8, 14};
  for (int i = 0; i < 6; ++i) p.drawRoundedRect(QRectF(4 + i * 4.2, 28 - h[i], 3.2, h[i]), 0.8, 0.8);
}

void Sheet(QPainter& p) {
  p.setPen(QPen(kInk, 1.6));
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(6, 3, 18, 26), 2, 2);
}

// Paints one glyph in a 32 x 32 box.
void Draw(QPainter& p, int button) {
  p.setRenderHint(QPainter::Antialiasing);
  switch (button) {
    case kSystemParameter: {  // sliders
      p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(5, 8 + i * 8), QPointF(27, 8 + i * 8));
      p.setPen(QPen(kInk, 1.4));
      p.setBrush(kAccent);
      const double knob[] = {20, 10, 16};
      for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(knob[i], 8 + i * 8), 3.6, 3.6);
      break;
    }
    case kRealTimeFrequency:
      Bars(p);
      Live(p);
      break;
    case kPrint:
      p.setPen(QPen(kInk, 1.6));
      p.setBrush(kPaper);
      p.drawRect(QRectF(9, 3, 14, 9));
      p.setBrush(QColor(170, 180, 195));
      p.drawRoundedRect(QRectF(3, 11, 26, 12), 2.5, 2.5);
      p.setBrush(kPaper);
      p.drawRect(QRectF(9, 19, 14, 10));
      p.setPen(QPen(kAccent, 1.4));
      p.drawLine(QPointF(12, 23), QPointF(20, 23));
      p.drawLine(QPointF(12, 26), QPointF(18, 26));
      break;
    case kDownloadData: {
      p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF({QPointF(4, 20), QPointF(4, 28), QPointF(28, 28), QPointF(28, 20)}));
      p.setPen(Qt::NoPen);
      p.setBrush(kAccent);
      p.drawRect(QRectF(13.5, 3, 5, 12));
      p.drawPolygon(QPolygonF({QPointF(8, 14), QPointF(24, 14), QPointF(16, 23)}));
      break;
    }
    case kRealTimeData:
      Wave(p, 17, 8);
      Live(p);
      break;
    case kDataList:
      Sheet(p);
      p.setPen(QPen(kAccent, 1.6));
      for (int i = 0; i < 5; ++i) p.drawLine(QPointF(9, 8 + i * 4.5), QPointF(21, 8 + i * 4.5));
      break;
    case kExportData:
      Sheet(p);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 150, 80));
      p.drawRect(QRectF(14, 14, 9, 4));
      p.drawPolygon(QPolygonF({QPointF(22, 9), QPointF(30, 16), QPointF(22, 23)}));
      break;
    case kAcceleration:
      p.setPen(QPen(kInk, 1.6));
      p.setBrush(QColor(240, 200, 90));
      p.drawPolygon(QPolygonF({QPointF(3, 7), QPointF(12, 7), QPointF(15, 10), QPointF(29, 10),
                               QPointF(29, 28), QPointF(3, 28)}));
      Wave(p, 20, 4.5);
      break;
    case kFrequency:
      p.setPen(QPen(kInk, 1.4));
      p.drawLine(QPointF(3, 29), QPointF(29, 29));
      Bars(p);
      break;
    case kStop:
      p.setPen(QPen(QColor(140, 20, 20), 1.4));
      p.setBrush(QColor(215, 45, 45));
      p.drawRoundedRect(QRectF(6, 6, 20, 20), 3, 3);
      break;
    default: {  // help
      p.setPen(QPen(kInk, 1.6));
      p.setBrush(kAccent);
      p.drawEllipse(QRectF(3, 3, 26, 26));
      QFont f = p.font();
      f.setPixelSize(19);
      f.setBold(true);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, "?");
    }
  }
}

class GlyphEngine : public QIconEngine {
 public:
  explicit GlyphEngine(int button) : button_(button) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / 32.0, rect.height() / 32.0);
    if (mode == QIcon::Disabled) painter->setOpacity(0.35);
    Draw(*painter, button_);
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(&p, QRect(QPoint(0, 0), size), mode, state);
    return pm;
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap pm = pixmap(size * scale, mode, state);
    pm.setDevicePixelRatio(scale);
    return pm;
  }
  QIconEngine* clone() const override { return new GlyphEngine(button_); }

 private:
  int button_;
};

}  // namespace

QIcon ToolIcon(int button) { return QIcon(new GlyphEngine(button)); }

}  // namespace accelog
