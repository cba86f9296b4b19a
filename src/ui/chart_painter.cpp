#include "ui/chart_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QVector>
#include <cmath>

#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "app/shell_rules.h"
#include "model/dataset.h"

namespace accelog {

namespace {

QColor Rgb(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// ChartBackColor is kept as the window system stores it: 0xBBGGRR.
QColor BackColor() {
  const uint32_t c = kChartBackColor;
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QPen Pen(const QColor& color, double pixels = 1.0) {
  QPen pen(color);
  pen.setCosmetic(true);
  pen.setWidthF(pixels);
  return pen;
}

QRectF ControlRect(TwipPoint origin, const SceneControl& c) {
  return QRectF(origin.X + c.Left, origin.Y + c.Top, c.Width, c.Height);
}

void Border(QPainter& p, const QRectF& r, const QColor& dark, const QColor& light) {
  p.setPen(Pen(dark));
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(Pen(light));
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

void Text(QPainter& p, TwipPoint origin, const SceneControl& label, int flags) {
  if (!label.Visible || label.Caption.empty()) return;
  // Captions are not cut at their box: right-aligned ones grow to the left.
  const double width = std::max<double>(label.Width, 4000);
  const double left = (flags & Qt::AlignRight) ? origin.X + label.Left + label.Width - width
                                               : origin.X + label.Left;
  const QRectF r(left, origin.Y + label.Top, width, label.Height);
  p.drawText(r, flags | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(label.Caption));
}

QFont TwipFont(int points) {
  QFont f;
  f.setPixelSize(points * 20);  // 1 point = 20 twips
  return f;
}

void PaintPlot(QPainter& p, const ChartSceneRecord& s, TwipPoint o) {
  const QRectF frame(o.X, o.Y, s.PlotFrame.Width, s.PlotFrame.Height);
  p.save();
  p.setClipRect(frame);
  p.translate(o.X, o.Y);
  const float limit = static_cast<float>(s.PlotFrame.Height + 1000);
  auto in_view = [limit](const SceneLine& l) {
    return l.Visible && !(l.Y1 > limit && l.Y2 > limit) && !(l.Y1 < -1000 && l.Y2 < -1000);
  };

  // Grid: full lines and the dots of the columns between them.
  QVector<QLineF> lines;
  QVector<QPointF> dots;
  for (int c = 1; c <= kColumns; ++c) {
    const SceneLine& l = s.VerticalGrid[c];
    if (!l.Visible) continue;
    if (l.Y1 == l.Y2) dots.append(QPointF(l.X1, l.Y1));
    else lines.append(QLineF(l.X1, l.Y1, l.X2, l.Y2));
  }
  p.setPen(Pen(Rgb(kVerticalGridColor)));
  p.drawLines(lines);
  p.drawPoints(dots);
  lines.clear();
  for (const SceneLine& l : s.HorizontalGrid) {
    if (l.Visible) lines.append(QLineF(l.X1, l.Y1, l.X2, l.Y2));
  }
  p.setPen(Pen(Rgb(kHorizontalGridColor)));
  p.drawLines(lines);

  // The plot's border; the cross-hair runs between these lines.
  p.setPen(Pen(Qt::black));
  for (const SceneLine* l : {&s.LineLeft, &s.LineRight, &s.LineUp, &s.LineDown}) {
    if (l->Visible) p.drawLine(QLineF(l->X1, l->Y1, l->X2, l->Y2));
  }

  // Curves, then their markers.
  QVector<QRectF> marks;
  for (int k = kCurves - 1; k >= 0; --k) {
    lines.clear();
    marks.clear();
    for (int j = 1; j <= 5; ++j) {
      for (int c = 1; c <= kColumns; ++c) {
        const SceneLine& l = s.CurveLine[k][j][c];
        if (in_view(l)) lines.append(QLineF(l.X1, l.Y1, l.X2, l.Y2));
      }
    }
    for (int j = 1; j <= 4; ++j) {
      for (int c = 1; c <= kColumns; ++c) {
        const SceneShape& m = s.CurvePoint[k][j][c];
        if (m.Visible && m.Top < limit && m.Top > -1000) marks.append(QRectF(m.Left, m.Top, m.Width, m.Height));
      }
    }
    const QColor color = Rgb(CurveColor(k));
    p.setPen(Pen(color));
    p.drawLines(lines);
    p.drawRects(marks);
  }

  // Cursor objects.
  if (s.CrossHairShown) {
    p.setPen(Pen(QColor(64, 64, 64)));
    p.drawLine(QLineF(s.CrossHairH.X1, s.CrossHairH.Y1, s.CrossHairH.X2, s.CrossHairH.Y2));
    p.drawLine(QLineF(s.CrossHairV.X1, s.CrossHairV.Y1, s.CrossHairV.X2, s.CrossHairV.Y2));
  }
  if (s.LockPointsShown) {
    for (int k = 0; k < kCurves; ++k) {
      const SceneShape& m = s.LockMarker[k];
      if (!m.Visible || m.Left < -500) continue;
      p.setPen(Pen(Rgb(CurveColor(k)), 2.0));
      p.drawRect(QRectF(m.Left, m.Top, m.Width, m.Height));
    }
  }
  if (s.DragRectangle.Visible && s.DragRectangle.Left > -5000) {
    QPen pen = Pen(Qt::black);
    pen.setStyle(Qt::DashLine);
    p.setPen(pen);
    p.drawRect(QRectF(s.DragRectangle.Left, s.DragRectangle.Top, s.DragRectangle.Width, s.DragRectangle.Height));
  }
  p.restore();
}

}  // namespace

void PaintChartScene(QPainter& p, const ChartSceneRecord& s, double pixels_per_twip, bool frequency_view) {
  p.save();
  p.scale(pixels_per_twip, pixels_per_twip);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.fillRect(QRectF(0, 0, s.Width, s.Height), BackColor());

  const QColor dark(128, 128, 128), light(255, 255, 255);
  Border(p, ControlRect(s.FrameOrigin(s.StatisticsPanel), {"", 0, 0, s.StatisticsPanel.Width, s.StatisticsPanel.Height, 0, true, true}), dark, light);
  Border(p, ControlRect(s.FrameOrigin(s.OuterBorder), {"", 0, 0, s.OuterBorder.Width, s.OuterBorder.Height, 0, true, true}), dark, light);
  Border(p, ControlRect(s.FrameOrigin(s.InnerBorder), {"", 0, 0, s.InnerBorder.Width, s.InnerBorder.Height, 0, true, true}), light, dark);

  // Left strip: mg ticks and labels.
  p.setFont(TwipFont(8));
  const TwipPoint f4 = s.FrameOrigin(s.LeftStrip);
  p.setPen(Pen(Qt::black));
  for (const SceneLine& l : s.AccelTick) {
    if (l.Visible) p.drawLine(QLineF(f4.X + l.X1, f4.Y + l.Y1, f4.X + l.X2, f4.Y + l.Y2));
  }
  for (const SceneControl& l : s.AccelLabel) Text(p, f4, l, Qt::AlignRight);
  p.setFont(TwipFont(7));
  Text(p, f4, s.AccelUnitLabel, Qt::AlignLeft);
  p.setFont(TwipFont(8));

  // Right strip: degree ticks and labels, legend lines.
  const TwipPoint f6 = s.FrameOrigin(s.RightStrip);
  p.setPen(Pen(Qt::black));
  for (const SceneLine& l : s.AngleTick) {
    if (l.Visible) p.drawLine(QLineF(f6.X + l.X1, f6.Y + l.Y1, f6.X + l.X2, f6.Y + l.Y2));
  }
  for (const SceneControl& l : s.AngleLabel) Text(p, f6, l, Qt::AlignRight);
  p.setFont(TwipFont(7));
  Text(p, f6, s.AngleUnitLabel, Qt::AlignLeft);
  for (int i = 1; i <= 7; ++i) {
    const SceneLine& l = s.LegendLine[i];
    if (!l.Visible) continue;
    p.setPen(Pen(Rgb(CurveColor(i - 1)), 2.0));
    p.drawLine(QLineF(f6.X + l.X1, f6.Y + l.Y1, f6.X + l.X2, f6.Y + l.Y2));
  }

  // X labels. Frequency labels stand only 500 twips apart: a smaller font
  // keeps "102 Hz" clear of its neighbour.
  p.setFont(TwipFont(frequency_view ? 7 : 9));
  p.setPen(Pen(Qt::black));
  const TwipPoint f7 = s.FrameOrigin(s.TimeLabelStrip);
  for (int c = 1; c <= kColumns; ++c) {
    Text(p, f7, s.TimeLabel[c], Qt::AlignLeft);
    Text(p, f7, s.DateLabel[c], Qt::AlignLeft);
  }

  // Scroll track.
  p.setFont(TwipFont(8));
  const TwipPoint track = s.TrackOrigin();
  const QRectF track_rect(track.X, track.Y, s.ScrollTrack.Width, s.ScrollTrack.Height);
  p.fillRect(track_rect, BackColor());
  Border(p, track_rect, dark, light);
  p.setPen(Pen(QColor(255, 255, 0), 4.0));
  for (const SceneLine* l : {&s.ScrollStartMarker, &s.ScrollEndMarker}) {
    p.drawLine(QLineF(track.X + l->X1, track.Y + l->Y1, track.X + l->X2, track.Y + l->Y2));
  }
  p.setPen(Pen(Qt::black));
  Text(p, track, s.ScrollStartLabel, Qt::AlignLeft);
  // The end number sits right of its marker; at the track's end, where the
  // arrow button would cover it, it is written left of the marker instead.
  SceneControl end_label = s.ScrollEndLabel;
  const int text_width = static_cast<int>(p.fontMetrics().horizontalAdvance(QString::fromStdString(end_label.Caption)));
  if (end_label.Left + text_width > s.ScrollTrack.Width) {
    end_label.Left = static_cast<int32_t>(s.ScrollEndMarker.X1) - 200 - end_label.Width;
    Text(p, track, end_label, Qt::AlignRight);
  } else {
    Text(p, track, end_label, Qt::AlignLeft);
  }

  // Bottom strip: the read-out.
  Text(p, s.FrameOrigin(s.BottomStrip), s.ReadOut, Qt::AlignLeft);

  // The plot last: it overlaps the right strip by a few twips.
  if (s.PlotFrame.Visible && s.PlotFrame.Top < s.Height) PaintPlot(p, s, s.PlotOrigin());
  p.restore();
}

}  // namespace accelog
