#include "ui/ab_cursor_overlay.h"

#include <QMouseEvent>
#include <QPainter>
#include <optional>
#include <tuple>
#include <utility>

#include "app/ab_cursors.h"
#include "app/chart.h"
#include "ui/form_picture.h"

namespace accelog {

namespace {
constexpr int kReachPixels = 5;
const QColor kColorA(230, 110, 0);
const QColor kColorB(0, 120, 170);
}  // namespace

AbCursorOverlay::AbCursorOverlay(FormPicture& picture, AbCursors& cursors)
    : QWidget(&picture), picture_(picture), cursors_(cursors) {
  setObjectName("AbCursorOverlay");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setGeometry(picture.rect());
  picture.installEventFilter(this);
  show();
}

bool AbCursorOverlay::PlotX(const QPointF& pixels, float& x) const {
  const QPointF t = picture_.ToTwips(pixels);
  const ChartSceneRecord& s = picture_.Model().scene;
  x = static_cast<float>(t.x() - s.PlotOrigin().X);
  return s.HitTest(static_cast<int32_t>(t.x()), static_cast<int32_t>(t.y())) == ChartArea::Plot;
}

bool AbCursorOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &picture_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Resize:
      setGeometry(picture_.rect());
      break;
    case QEvent::MouseButtonPress: {
      auto* m = static_cast<QMouseEvent*>(event);
      float x = 0;
      if (m->button() != Qt::LeftButton || !cursors_.Shown() || !PlotX(m->position(), x)) break;
      if (cursors_.Grab(x, static_cast<float>(kReachPixels / picture_.PixelsPerTwip()))) return true;
      break;
    }
    case QEvent::MouseMove: {
      float x = 0;
      PlotX(static_cast<QMouseEvent*>(event)->position(), x);
      // The cross-hair and the single read-out follow the pointer meanwhile.
      const std::pair before(cursors_.A(), cursors_.B());
      if (cursors_.DragTo(x) && std::pair(cursors_.A(), cursors_.B()) != before) emit CursorMoved();
      break;
    }
    case QEvent::MouseButtonRelease:
      if (cursors_.Dragging() == AbCursor::None) break;
      cursors_.Release();
      update();
      return true;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void AbCursorOverlay::paintEvent(QPaintEvent*) {
  if (!cursors_.Shown() || !cursors_.Available()) return;
  const Chart& chart = picture_.Model();
  const ChartSceneRecord& s = chart.scene;
  const TwipPoint o = s.PlotOrigin();
  QPainter p(this);
  const double scale = picture_.PixelsPerTwip();
  p.scale(scale, scale);
  p.translate(o.X, o.Y);
  p.setClipRect(QRectF(s.LineLeft.X1, s.LineUp.Y1, s.LineRight.X1 - s.LineLeft.X1, s.LineDown.Y1 - s.LineUp.Y1));
  const std::optional<float> a = cursors_.PlotX(cursors_.A()), b = cursors_.PlotX(cursors_.B());
  const float top = s.LineUp.Y1, bottom = s.LineDown.Y1;
  // The span between them lightly shaded, from the plot's edge when one is out of the window.
  const Dataset& d = chart.Data();
  const int32_t first = std::min(cursors_.A(), cursors_.B()), last = std::max(cursors_.A(), cursors_.B());
  if (first <= d.DispEndPoint && last >= d.DispStartPoint) {
    const std::optional<float> left = cursors_.PlotX(first), right = cursors_.PlotX(last);
    const float x1 = left ? *left : s.LineLeft.X1, x2 = right ? *right : s.LineRight.X1;
    p.fillRect(QRectF(x1, top, x2 - x1, bottom - top), QColor(120, 120, 120, 28));
  }
  QFont f = font();
  f.setPixelSize(180);
  f.setBold(true);
  p.setFont(f);
  for (const auto& [x, color, name] : {std::tuple(a, kColorA, "A"), std::tuple(b, kColorB, "B")}) {
    if (!x) continue;
    QPen pen(color);
    pen.setCosmetic(true);
    pen.setWidthF(2.0);
    p.setPen(pen);
    p.drawLine(QLineF(*x, top, *x, bottom));
    const QRectF tag(*x + 30, top + 30, 200, 220);
    p.fillRect(tag, Qt::white);
    p.drawText(tag, Qt::AlignCenter, name);
  }
}

}  // namespace accelog
