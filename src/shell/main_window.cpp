#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QWheelEvent>

#include "core/ui_port.h"
#include "data/list/form2.h"
#include "shell/about_box.h"
#include "shell/help_window.h"
#include "shell/shell_rules.h"
#include "shell/tool_bar.h"
#include "shell/twips.h"

namespace accelog {

namespace {
// What each tool-bar button runs, Command1..Command11.
const char* const kButtonItems[kToolButtons] = {"File002", "File011", "File006", "File008",
                                                "File009", "File012", "File007", "File004",
                                                "File005", "Stop",    "File016"};
}  // namespace

MainWindow::MainWindow(QWidget* chart, QWidget* parent) : QMainWindow(parent), chart_(chart) {
  setObjectName("MDIForm1");
  setWindowTitle("accelog");
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  resize(TwipsToPixels(Shell.MainWindowWidth), TwipsToPixels(Shell.MainWindowHeight));

  client_ = new QWidget(this);
  client_->setObjectName("ClientArea");
  UseChartBackColor(client_);
  client_->installEventFilter(this);
  setCentralWidget(client_);
  // The window hook's wheel duty: every wheel turn over this window.
  qApp->installEventFilter(this);

  tool_bar_ = new ToolBarWindow(client_);
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
      {"File010", "File002", "System Parameter"}, {"File013", "File004", "Acceleration"},
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
    panel->setFixedWidth(TwipsToPixels(kStatusPanelWidth));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(panel);
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
    const int handler = StopButtonHandler();
    if (handler == 9) RunMenuItem("File009");
    if (handler == 11) RunMenuItem("File011");
    return;
  }
  auto it = handlers_.find(item);
  if (it != handlers_.end() && it->second) {
    it->second();
    return;
  }
  QAction* a = Action(item);
  const QString caption = a ? a->text() : item;
  Ui().Message((caption + " is not available yet.").toStdString(), MessageIcon::Information);
}

void MainWindow::RestScreen() {
  const int w = PixelsToTwips(client_->width());
  const int h = PixelsToTwips(height());
  Rect tool{0, 0, PixelsToTwips(tool_bar_->width()), PixelsToTwips(tool_bar_->height())};
  Rect chart{0, 0, chart_ ? PixelsToTwips(chart_->width()) : 0, chart_ ? PixelsToTwips(chart_->height()) : 0};
  accelog::RestScreen(w, h, tool, chart);
  tool_bar_->move(TwipsToPixels(tool.left), TwipsToPixels(tool.top));
  if (chart_) chart_->move(TwipsToPixels(chart.left), TwipsToPixels(chart.top));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // MDIForm_Resize: the client area follows every resize of the window and
  // is laid out once start-up is over.
  if (watched == client_ && event->type() == QEvent::Resize && Shell.StartupComplete) RestScreen();
  // The wheel pages the data list while it is open and does nothing else here.
  if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta == 0) return QMainWindow::eventFilter(watched, event);
    DataListWheel(delta);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::SetCaption(const QString& text) { setWindowTitle(text.isEmpty() ? "accelog" : text); }

void MainWindow::SetMenuMark(const QString& item, bool checked) {
  marks_[item] = checked;
  if (QAction* a = Action(item)) a->setChecked(checked);
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

}  // namespace accelog
