#include "ui/main_window.h"

#include "model/dataset.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "ui/form_picture.h"
#include "core/program_folder.h"

#include "core/ui_port.h"
#include "ui/form2.h"
#include "ui/about_box.h"
#include "ui/help_window.h"
#include "app/shell_rules.h"
#include "ui/tool_bar.h"
#include "ui/twips.h"

namespace accelog {

namespace {
// User settings of the window, beside the parameter files.
QSettings ViewSettings() {
  return QSettings(QString::fromStdString(ProgramFile("accelog.ini")), QSettings::IniFormat);
}

// What each tool-bar button runs, Command1..Command11.
const char* const kButtonItems[kToolButtons] = {"File002", "File011", "File006", "File008",
                                                "File009", "File012", "File007", "File004",
                                                "File005", "Stop",    "File016"};
}  // namespace

MainWindow::MainWindow(QWidget* chart, Dataset& data, QWidget* parent)
    : QMainWindow(parent), chart_(chart), data_(data) {
  setObjectName("MDIForm1");
  setWindowTitle("accelog");
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  resize(TwipsToPixels(kMainWindowWidth), TwipsToPixels(kMainWindowHeight));

  // The menu bar and the tool bar stay; only the chart's area below them
  // scrolls when the window is smaller than the layout.
  auto* column = new QWidget(this);
  column->setObjectName("MainColumn");
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  tool_host_ = new QWidget(column);
  tool_host_->setObjectName("ToolBarHost");
  UseChartBackColor(tool_host_);
  tool_host_->setFixedHeight(TwipsToPixels(kToolBarHeight));
  tool_host_->setMinimumWidth(1);
  tool_host_->installEventFilter(this);
  layout->addWidget(tool_host_);
  scroll_ = new QScrollArea(column);
  scroll_->setObjectName("ClientScroll");
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(false);
  UseChartBackColor(scroll_->viewport());
  scroll_->viewport()->installEventFilter(this);
  layout->addWidget(scroll_, 1);
  setCentralWidget(column);
  client_ = new QWidget;
  client_->setObjectName("ClientArea");
  UseChartBackColor(client_);
  scroll_->setWidget(client_);
  // The window hook's wheel duty: every wheel turn over this window.
  qApp->installEventFilter(this);

  tool_bar_ = new ToolBarWindow(tool_host_);
  connect(tool_bar_, &ToolBarWindow::ButtonClicked, this,
          [this](int i) { RunMenuItem(kButtonItems[i]); });
  if (chart_) chart_->setParent(client_);

  BuildMenus();
  BuildStatusBar();

  // Escape stops a running download; it is no menu item, so nothing is
  // shown when no handler takes it.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, [this] {
    auto it = handlers_.find("Escape");
    if (it != handlers_.end() && it->second) it->second();
  });
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus() {
  struct Item {
    const char* menu;
    const char* name;
    const char* caption;
  };
  const Item items[] = {
      {"File010", "File008", "Download Data"},   {"File010", "File009", "Real Time Data"},
      {"File010", "File011", "Real Time Data For Frequency"},
      {"File010", "File002", "System Parameter"}, {"File010", "Stop", "Stop"},
      {"File010", "Report", "Report…"},
      {"File010", "UseSimulator", "Use Simulated Logger"}, {"File013", "File004", "Acceleration"},
      {"File013", "File005", "Frequency"},       {"File013", "File012", "Data List"},
      {"File013", "File007", "Export Data"},     {"File013", "File006", "Print"},
      {"File014", "File015", "about"},           {"File014", "File016", "Help File"},
  };
  const std::map<QString, QString> menu_captions = {
      {"File010", "&File"}, {"File013", "&Data"}, {"File014", "&Help"}};
  std::map<QString, QMenu*> menus;
  for (const char* m : {"File010", "File013", "File014"}) {
    QMenu* menu = menuBar()->addMenu(menu_captions.at(m));
    menu->setObjectName(m);
    menus[m] = menu;
  }
  for (const Item& it : items) {
    QAction* a = menus[it.menu]->addAction(it.caption);
    a->setObjectName(it.name);
    const QString name = it.name;
    connect(a, &QAction::triggered, this, [this, a, name] {
      if (a->isCheckable()) a->setChecked(marks_[name]);  // undo Qt's own toggle
      RunMenuItem(name);
    });
    actions_[name] = a;
  }
  actions_["File009"]->setCheckable(true);
  actions_["File011"]->setCheckable(true);
  actions_["UseSimulator"]->setCheckable(true);
  menus["File010"]->insertSeparator(actions_["UseSimulator"]);
  menus["File010"]->insertSeparator(actions_["Report"]);
  QMenu* view = menuBar()->insertMenu(menus["File014"]->menuAction(), new QMenu("&View", this))->menu();
  view->setObjectName("View");
  QAction* fit = view->addAction("Fit to Window");
  fit->setObjectName("FitToWindow");
  fit->setCheckable(true);
  fit->setChecked(Setting("FitToWindow"));
  connect(fit, &QAction::toggled, this, &MainWindow::SetFitToWindow);
  actions_["FitToWindow"] = fit;
  actions_["File016"]->setShortcut(QKeySequence::HelpContents);
  actions_["File016"]->setShortcutContext(Qt::ApplicationShortcut);
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  for (int i = 0; i < kStatusPanels; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QString("Panel%1").arg(i + 1));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // 3720 twips each where the window has room; narrower, never cut off and
    // never a floor under the window's width.
    panel->setMinimumWidth(1);
    panel->setMaximumWidth(TwipsToPixels(kStatusPanelWidth));
    bar->addWidget(panel, 1);
    panels_[static_cast<size_t>(i)] = panel;
  }
}

QAction* MainWindow::Action(const QString& item) const {
  auto it = actions_.find(item);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::RunMenuItem(const QString& item) {
  if (item == "File015") return ShowAbout();
  if (item == "File016") return ShowHelp();
  if (item == "Stop") {
    const int handler = StopButtonHandler(data_.MenuCommandCode);
    if (handler == 8) RunMenuItem("Escape");  // a download stops as Escape stops it
    if (handler == 9) RunMenuItem("File009");
    if (handler == 11) RunMenuItem("File011");
    return;
  }
  auto it = handlers_.find(item);
  if (it != handlers_.end() && it->second) {
    it->second();
    return;
  }
  if (item == "Escape") return;  // nothing running to stop
  QAction* a = Action(item);
  const QString caption = a ? a->text() : item;
  port_->Message((caption + " is not available yet.").toStdString(), MessageIcon::Information);
}

bool MainWindow::Setting(const QString& key) { return ViewSettings().value(key, false).toBool(); }

void MainWindow::RememberSetting(const QString& key, bool on, const QString& what) {
  QSettings settings = ViewSettings();
  settings.setValue(key, on);
  settings.sync();
  if (settings.status() != QSettings::NoError) {
    port_->Message((what + " is not remembered: " + settings.fileName() + " cannot be written.").toStdString(),
                 MessageIcon::Exclamation);
  }
}

bool MainWindow::FitToWindow() const { return actions_.at("FitToWindow")->isChecked(); }

void MainWindow::SetFitToWindow(bool on) {
  QAction* fit = actions_.at("FitToWindow");
  if (fit->isChecked() != on) return fit->setChecked(on);  // comes back through toggled
  RememberSetting("FitToWindow", on, "Fit to Window");
  RestScreen();
}

void MainWindow::RestScreen() {
  // The tool bar is centred over the window; its empty ends may be cut.
  tool_bar_->move((tool_host_->width() - tool_bar_->width()) / 2, 0);
  const QSize view = scroll_->viewport()->size();
  auto* picture = qobject_cast<FormPicture*>(chart_);
  const bool fit = picture && FitToWindow();
  if (picture) {
    // One scale for the whole chart window: the largest that fits below the tool bar.
    const QSize normal = picture->NormalSize();
    const double zoom = fit ? std::max(0.25, std::min(view.width() / double(normal.width()),
                                                      view.height() / double(normal.height())))
                            : 1.0;
    picture->SetZoom(zoom);
  }
  if (!chart_) return;
  // The layout rule counts from the top of the client area, tool bar
  // included, and the outer height, as its 1400 twips stand for the title,
  // menu and status bars. A chart wider than the window scrolls.
  const int w = std::max(PixelsToTwips(view.width()), PixelsToTwips(tool_bar_->width()));
  const int h = PixelsToTwips(frameGeometry().height());
  Rect tool{0, 0, PixelsToTwips(tool_bar_->width()), PixelsToTwips(tool_bar_->height())};
  Rect chart{0, 0, PixelsToTwips(chart_->width()), PixelsToTwips(chart_->height())};
  accelog::RestScreen(w, h, tool, chart);
  QPoint at(TwipsToPixels(chart.left), std::max(0, TwipsToPixels(chart.top - tool.height)));
  if (fit) at = QPoint(std::max(0, (view.width() - chart_->width()) / 2), 0);
  chart_->move(at);
  const QRect used = chart_->geometry();
  client_->resize(std::max(view.width(), used.right() + 1), std::max(view.height(), used.bottom() + 1));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // MDIForm_Resize: the client area follows every resize of the window and
  // is laid out once start-up is over.
  if ((watched == scroll_->viewport() || watched == tool_host_) && event->type() == QEvent::Resize &&
      shell_.StartupComplete) {
    RestScreen();
  }
  // The wheel pages the data list while it is open; otherwise it only
  // scrolls a window smaller than its layout.
  if (event->type() == QEvent::Wheel && DataList() && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta == 0) return QMainWindow::eventFilter(watched, event);
    DataList()->PageByWheel(delta);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::SetCaption(const QString& text) { setWindowTitle(text.isEmpty() ? "accelog" : text); }

void MainWindow::SetMenuMark(const QString& item, bool checked) {
  marks_[item] = checked;
  if (QAction* a = Action(item)) a->setChecked(checked);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (outer_size_set_) return;
  outer_size_set_ = true;
  // The start-up size is the outer window's, frame included: once the window
  // manager has framed the window, take the frame off the inner size.
  QTimer::singleShot(0, this, [this] {
    const QSize start(TwipsToPixels(kMainWindowWidth), TwipsToPixels(kMainWindowHeight));
    const QSize frame = frameGeometry().size() - size();
    if (size() == start && (frame.width() > 0 || frame.height() > 0)) resize(start - frame);
  });
}

HelpWindow* MainWindow::Help() const { return help_; }

void MainWindow::ShowHelp() {
  if (!help_) help_ = new HelpWindow(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainWindow::ShowAbout() {
  AboutBox box(this);
  box.exec();
}

Form2* MainWindow::OpenDataList() {
  if (Form2* list = OpenDataListWindow(this, data_, *port_)) data_list_ = list;
  return DataList();
}

Form2* MainWindow::DataList() const { return data_list_ && data_list_->IsOpen() ? data_list_.data() : nullptr; }

}  // namespace accelog
