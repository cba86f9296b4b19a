#include "ui/chart_analysis.h"

#include <algorithm>

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "app/ab_cursors.h"
#include "app/chart.h"
#include "app/event_list.h"
#include "model/span_statistics.h"
#include "ui/ab_cursor_overlay.h"
#include "ui/ab_readout.h"
#include "ui/events_window.h"
#include "ui/form_picture.h"
#include "ui/main_window.h"
#include "ui/span_statistics_panel.h"

namespace accelog {

namespace {

QAction* Checkable(QAction* a, bool on = false) {
  a->setCheckable(true);
  a->setChecked(on);
  return a;
}

// A panel's close button unticks the item that shows it.
class UntickOnClose : public QObject {
 public:
  UntickOnClose(QWidget* panel, QAction* item) : QObject(panel), item_(item) { panel->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) item_->setChecked(false);
    return QObject::eventFilter(watched, event);
  }

 private:
  QAction* item_;
};

}  // namespace

ChartAnalysis::ChartAnalysis(MainWindow& window, FormPicture& picture)
    : QObject(&window), window_(window), picture_(picture), cursors_(std::make_unique<AbCursors>(picture.Model())) {
  overlay_ = new AbCursorOverlay(picture, *cursors_);
  read_out_ = new AbReadOutWindow(&window);
  panel_ = new SpanStatisticsPanel(&window);

  ab_ = Checkable(new QAction("A/B Cursors", this));
  ab_->setIconText("A/B");
  ab_->setObjectName("AbCursors");
  ab_->setShortcut(QKeySequence(Qt::Key_C));
  ab_->setShortcutContext(Qt::WindowShortcut);
  ab_->setToolTip("Two cursors, A and B, with their differences (C)");
  zoom_ = new QAction("Zoom to A\u2013B", this);
  zoom_->setObjectName("ZoomToAb");
  zoom_->setToolTip("Show the points between the cursors");
  statistics_ = Checkable(new QAction("Span Statistics", this));
  statistics_->setObjectName("SpanStatistics");
  statistics_->setToolTip("Statistics between the cursors, or of the shown window");
  events_ = new EventsWindow(&window, picture.Model().Data());
  events_action_ = new QAction("Events\u2026", this);
  events_action_->setObjectName("Events");
  events_action_->setToolTip("Where X, Y, Z or the vector sum stray beyond a threshold");
  bar_shown_ = Checkable(new QAction("Cursor Tool Bar", this), MainWindow::Setting("CursorToolBar"));
  bar_shown_->setObjectName("CursorToolBar");

  if (auto* view = window.findChild<QMenu*>("View")) {
    view->addSeparator();
    view->addActions({ab_, zoom_, statistics_});
    view->addSeparator();
    view->addAction(bar_shown_);
  }
  if (auto* data_menu = window.findChild<QMenu*>("File013")) {
    data_menu->addSeparator();
    data_menu->addAction(events_action_);
  }
  bar_ = window.addToolBar("Cursors");
  bar_->setObjectName("CursorsBar");
  bar_->setMovable(false);
  bar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar_->addActions({ab_, zoom_, statistics_, events_action_});
  bar_->setVisible(bar_shown_->isChecked());

  connect(ab_, &QAction::toggled, this, &ChartAnalysis::ShowCursors);
  connect(zoom_, &QAction::triggered, this, &ChartAnalysis::ZoomToCursors);
  connect(statistics_, &QAction::toggled, this, &ChartAnalysis::ShowStatistics);
  connect(bar_shown_, &QAction::toggled, this, [this](bool on) {
    bar_->setVisible(on);
    window_.RememberSetting("CursorToolBar", on, "Cursor Tool Bar");
  });
  connect(events_action_, &QAction::triggered, this, &ChartAnalysis::ShowEvents);
  connect(events_, &EventsWindow::EventChosen, this, &ChartAnalysis::ShowEvent);
  connect(&picture, &FormPicture::SceneSynced, this, &ChartAnalysis::FollowChart);
  connect(overlay_, &AbCursorOverlay::CursorMoved, this, [this] {
    UpdatePanels();
    overlay_->update();
  });
  new UntickOnClose(read_out_, ab_);
  new UntickOnClose(panel_, statistics_);
  FollowChart();
}

ChartAnalysis::~ChartAnalysis() = default;

void ChartAnalysis::ShowCursors(bool on) {
  if (ab_->isChecked() != on) return ab_->setChecked(on);  // comes back through toggled
  cursors_->SetShown(on);
  if (on && !cursors_->Shown()) return ab_->setChecked(false);  // nothing to put them on
  zoom_->setEnabled(cursors_->Shown());
  if (cursors_->Shown()) {
    UpdatePanels();
    PlaceOverWindow(read_out_, Qt::TopLeftCorner);
    read_out_->show();
  } else {
    read_out_->hide();
    UpdatePanels();
  }
  overlay_->update();
}

void ChartAnalysis::ZoomToCursors() {
  if (!cursors_->Shown()) return;
  cursors_->ZoomToSpan();
  picture_.SyncFromScene();  // comes back through FollowChart
}

void ChartAnalysis::ShowStatistics(bool on) {
  if (statistics_->isChecked() != on) return statistics_->setChecked(on);
  if (!on) return panel_->hide();
  PlaceOverWindow(panel_, Qt::BottomRightCorner);
  panel_->show();
  UpdatePanels();
}

void ChartAnalysis::ShowEvents() {
  if (!cursors_->Available()) return;
  events_->FollowFile(true);
  PlaceOverWindow(events_, Qt::BottomRightCorner);
  events_->show();
  events_->raise();
  events_->activateWindow();
}

void ChartAnalysis::ShowEvent(const ThresholdEvent& event) {
  cursors_->ShowSpan(EventWindow(event, picture_.Model().Data().CountPoint), {event.first, event.last});
  if (!cursors_->Shown()) return;
  ab_->setChecked(true);  // the read-out comes with them
  picture_.SyncFromScene();
}

void ChartAnalysis::FollowChart() {
  cursors_->FollowFile();
  const bool available = cursors_->Available();
  ab_->setEnabled(available);
  if (!available && ab_->isChecked()) ab_->setChecked(false);
  zoom_->setEnabled(available && cursors_->Shown());
  events_action_->setEnabled(available);
  if (events_->isVisible()) events_->FollowFile(available);
  UpdatePanels();
  overlay_->update();
}

void ChartAnalysis::UpdatePanels() {
  if (cursors_->Shown()) read_out_->Show(cursors_->ReadOut());
  if (!panel_->isVisible()) return;
  if (!cursors_->Available()) return panel_->ShowNothing();
  const PointSpan span = cursors_->StatisticsSpan();
  panel_->Show(ComputeSpanStatistics(picture_.Model().Data(), span.first, span.last), cursors_->Shown());
}

// Where a panel first shows: the read-out over the chart's statistics boxes,
// the statistics and the events low at the right, so that the three overlap
// least on a screen without a window manager.
void ChartAnalysis::PlaceOverWindow(QWidget* panel, Qt::Corner corner) {
  if (panel->property("placed").toBool()) return;
  panel->setProperty("placed", true);
  panel->adjustSize();
  // A window larger than the screen (a small screen at 2x) has its bottom
  // out of sight: the panel goes to the visible part.
  const QRect w = window_.geometry() & (window_.screen() ? window_.screen()->availableGeometry() : window_.geometry());
  const int status = window_.statusBar() ? window_.statusBar()->height() : 0;
  const int chart_top = std::max(w.top(), picture_.mapToGlobal(QPoint(0, 0)).y()) + 8;
  const bool top_left = corner == Qt::TopLeftCorner;
  const int left = top_left ? w.left() + 40 : w.right() - panel->width() - 10;
  const int top = top_left ? chart_top : w.bottom() - status - panel->height() - 6;
  panel->move(std::max(w.left(), left), std::max(w.top(), top));
}

}  // namespace accelog
