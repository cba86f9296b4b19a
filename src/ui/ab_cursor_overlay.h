#pragma once
// The A and B cursors drawn over the chart window's plot, and the mouse on
// them: a press within a few pixels of a shown cursor drags it; every other
// press goes to the chart as before. The overlay takes no mouse events itself.
#include <QWidget>

namespace accelog {

class AbCursors;
class FormPicture;

class AbCursorOverlay : public QWidget {
  Q_OBJECT
 public:
  AbCursorOverlay(FormPicture& picture, AbCursors& cursors);

 signals:
  // A cursor was dragged to another point.
  void CursorMoved();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // The pointer's x in plot twips, and whether it is over the plot.
  bool PlotX(const QPointF& pixels, float& x) const;

  FormPicture& picture_;
  AbCursors& cursors_;
};

}  // namespace accelog
