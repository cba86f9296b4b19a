#pragma once
// "Span Statistics": count, minimum and maximum with their points,
// peak-to-peak, mean, RMS, standard deviation and crest factor of X, Y, Z,
// V and the angles over a span of points; it follows the A/B cursors, or the
// shown window while they are off.
#include <QWidget>

class QLabel;
class QTableWidget;

namespace accelog {

struct SpanStatistics;

class SpanStatisticsPanel : public QWidget {
  Q_OBJECT
 public:
  explicit SpanStatisticsPanel(QWidget* owner);
  // `between_cursors`: the span is A..B rather than the shown window.
  void Show(const SpanStatistics& s, bool between_cursors);
  // No file in the acceleration chart.
  void ShowNothing();
  QLabel* Heading() const { return heading_; }
  QTableWidget* Table() const { return table_; }

 private:
  QLabel* heading_ = nullptr;
  QTableWidget* table_ = nullptr;
};

}  // namespace accelog
