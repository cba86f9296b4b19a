#pragma once
// The chart window's analysis tools beside the original views: the A/B
// cursors with their read-out, "Zoom to A-B", the span statistics and the
// threshold events. Their actions sit in the View and Data menus and on the
// "Cursors" tool bar, which the View menu shows or hides (hidden until asked
// for, remembered).
#include <QObject>
#include <memory>

class QAction;
class QToolBar;

namespace accelog {

class AbCursorOverlay;
class AbCursors;
class AbReadOutWindow;
class EventsWindow;
class FormPicture;
class MainWindow;
class SpanStatisticsPanel;
struct ThresholdEvent;

class ChartAnalysis : public QObject {
  Q_OBJECT
 public:
  // Lives as long as `window`, which holds `picture`.
  ChartAnalysis(MainWindow& window, FormPicture& picture);
  ~ChartAnalysis() override;

  AbCursors& Cursors() const { return *cursors_; }
  QAction* AbAction() const { return ab_; }
  QAction* ZoomAction() const { return zoom_; }
  QAction* StatisticsAction() const { return statistics_; }
  QAction* EventsAction() const { return events_action_; }
  QToolBar* ToolBar() const { return bar_; }
  AbReadOutWindow* ReadOut() const { return read_out_; }
  SpanStatisticsPanel* Statistics() const { return panel_; }
  EventsWindow* Events() const { return events_; }

  // The A/B cursors on or off (the "A/B" button, the key C).
  void ShowCursors(bool on);
  void ZoomToCursors();
  void ShowStatistics(bool on);
  void ShowEvents();
  // An event on the chart: zoomed to it, the cursors on its first and last points.
  void ShowEvent(const ThresholdEvent& event);

 private:
  // After every change of the chart: enabling, and the panels brought up to date.
  void FollowChart();
  void UpdatePanels();
  void PlaceOverWindow(QWidget* panel, Qt::Corner corner);

  MainWindow& window_;
  FormPicture& picture_;
  std::unique_ptr<AbCursors> cursors_;
  AbCursorOverlay* overlay_ = nullptr;
  AbReadOutWindow* read_out_ = nullptr;
  SpanStatisticsPanel* panel_ = nullptr;
  EventsWindow* events_ = nullptr;
  QToolBar* bar_ = nullptr;
  QAction* ab_ = nullptr;
  QAction* zoom_ = nullptr;
  QAction* statistics_ = nullptr;
  QAction* bar_shown_ = nullptr;
  QAction* events_action_ = nullptr;
};

}  // namespace accelog
