// The main window's frame: menus and their marks, tool bar, status bar,
// layout and the rules behind them, help, about, single instance. Driven offscreen, dialogs through the recording port.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <vector>

#include "app/chart.h"
#include "ui/form_picture.h"
#include "core/program_folder.h"
#include "model/conversion.h"
#include "model/dataset.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "app/shell_rules.h"
#include "ui/single_instance.h"
#include "ui/tool_bar.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart_ = new QWidget;
    chart_->setFixedSize(900, 500);
    window_ = std::make_unique<MainWindow>(chart_, data_);
    window_->UsePort(ui_);
    window_->show();
  }
  void TearDown() override {
    window_.reset();
  }
  testing::RecordingUi ui_;
  Dataset data_;
  QWidget* chart_ = nullptr;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrder) {
  QStringList captions;
  for (QAction* m : window_->menuBar()->actions()) {
    captions << m->text();
    for (QAction* a : m->menu()->actions()) captions << a->text();
  }
  EXPECT_EQ(captions, (QStringList{"&File", "Download Data", "Real Time Data", "Real Time Data For Frequency",
                                   "System Parameter", "Stop", "", "Report…", "", "Use Simulated Logger", "&Data", "Acceleration", "Frequency", "Data List",
                                   "Export Data", "Print", "&View", "Fit to Window", "&Help", "about",
                                   "Help File"}));
}

TEST_F(MainWindowTest, ButtonsRunTheirMenuHandlers) {
  QStringList ran;
  MainWindow::Handlers h;
  for (const char* item : {"File002", "File004"}) h[item] = [&ran, item] { ran << item; };
  window_->SetHandlers(h);
  window_->ToolBar()->Button(kSystemParameter)->click();
  window_->ToolBar()->Button(kAcceleration)->click();
  EXPECT_EQ(ran, (QStringList{"File002", "File004"}));

  window_->ToolBar()->Button(kDataList)->click();  // no handler yet
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0], "Data List is not available yet.");
}

// The check marks of the two live items belong to their handlers: a click
// shows what the handler left, never Qt's own toggle.
TEST_F(MainWindowTest, AMenuMarkShowsWhatTheHandlerLeft) {
  bool running = false;
  window_->SetHandlers({{"File011", [&] { window_->SetMenuMark("File011", running = !running); }},
                        {"File009", [] {}}});  // refuses: no mark
  for (bool expected : {true, false, true}) {
    window_->Action("File011")->trigger();
    EXPECT_EQ(window_->Action("File011")->isChecked(), expected);
  }
  window_->Action("File009")->trigger();
  EXPECT_FALSE(window_->Action("File009")->isChecked());
}

TEST_F(MainWindowTest, HintFollowsTheMouse) {
  ToolBarWindow* bar = window_->ToolBar();
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(bar->Button(kPrint), &enter);
  EXPECT_EQ(bar->HintLabel()->text(), "Print");
  QEvent leave(QEvent::Leave);  // leaving the bar takes the hint with it
  QApplication::sendEvent(bar, &leave);
  EXPECT_TRUE(bar->HintLabel()->text().isEmpty());
}

TEST_F(MainWindowTest, ResizeLaysOutOnlyAfterStartUp) {
  const QPoint before = chart_->pos();
  window_->resize(1400, 900);
  QApplication::processEvents();
  EXPECT_EQ(chart_->pos(), before);  // start-up still running
  window_->Shell().StartupComplete = true;
  window_->resize(1300, 880);
  QApplication::processEvents();
  EXPECT_NE(chart_->pos(), before);
}

TEST(ChartWindowFit, SmallWindowsScrollAndFitToWindowScalesTheChartAndIsRemembered) {
  testing::TempFolder folder;
  ASSERT_TRUE(InitProgramFolder(folder.path()));
  Dataset data;
  Chart model(data);
  auto* chart = new FormPicture(model);
  const QSize normal = chart->NormalSize();
  {
    MainWindow w(chart, data);
    w.show();
    w.Shell().StartupComplete = true;
    EXPECT_FALSE(w.FitToWindow());  // off by default
    w.resize(700, 450);
    QApplication::processEvents();
    EXPECT_GT(w.Scroller()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GE(w.ClientArea()->height(), chart->geometry().bottom());  // everything can be reached
    // Scrolled to the far corner at 800 x 500, "Stop" and "Help" are still in the window.
    w.resize(800, 500);
    QApplication::processEvents();
    w.Scroller()->verticalScrollBar()->setValue(w.Scroller()->verticalScrollBar()->maximum());
    w.Scroller()->horizontalScrollBar()->setValue(w.Scroller()->horizontalScrollBar()->maximum());
    EXPECT_GT(w.Scroller()->verticalScrollBar()->value(), 0);
    for (int b : {kStop, kHelp}) {
      const QWidget* button = w.ToolBar()->Button(b);
      EXPECT_TRUE(w.rect().contains(QRect(button->mapTo(&w, QPoint(0, 0)), button->size()))) << b;
    }

    w.resize(1900, 1150);
    w.Action("FitToWindow")->trigger();
    QApplication::processEvents();
    EXPECT_GT(chart->width(), normal.width() * 13 / 10);
    EXPECT_LE(chart->geometry().bottom(), w.Scroller()->viewport()->height());
  }
  MainWindow again(new FormPicture(model), data);
  EXPECT_TRUE(again.FitToWindow());
  again.SetFitToWindow(false);
}

TEST_F(MainWindowTest, HelpShowsTheManual) {
  window_->Action("File016")->trigger();
  ASSERT_NE(window_->Help(), nullptr);
  EXPECT_TRUE(window_->Help()->Browser()->toPlainText().contains("accelog"));
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
    window_->Action("File016")->trigger();
    QApplication::setActiveWindow(window_->Help());
    ASSERT_TRUE(window_->Help()->isVisible());
    QTest::keySequence(window_->Help(), keys);
    EXPECT_FALSE(window_->Help()->isVisible()) << keys.toString().toStdString();
  }
}

TEST(SingleInstanceTest, AStaleLockIsTakenOver) {
  testing::TempFolder folder;
  const QString dir = QString::fromStdString(folder.path());
  // A lock file whose owner is gone, as a crashed run leaves it.
  {
    QFile f(dir + "/accelog.lock");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // A process id above any kernel's limit: its owner is surely gone.
    f.write("2147483000\naccelog\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  }
  SingleInstance again(dir);
  EXPECT_TRUE(again.Acquire());
}

// The rules behind the window, as plain functions.

TEST(ToolBarEnabling, EachOperationKeepsItsOwnButtonsAndControls) {
  // Buttons left alone (Help always), and the chart controls touched:
  // Check1..Check13, then "All Point".
  const struct {
    int code;
    std::vector<int> kept;
    std::array<bool, kChartControls> controls;
  } cases[] = {
      {11, {kHelp, kStop}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {12, {kHelp, kRealTimeData, kStop}, {0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1}},
      {13, {kHelp, kRealTimeFrequency, kStop}, {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1}},
  };
  for (const auto& c : cases) {
    const EnabledSet off = MenuCommandCodeEnabledButton(c.code, false);
    for (int b = 0; b < kToolButtons; ++b) {
      const bool kept = std::find(c.kept.begin(), c.kept.end(), b) != c.kept.end();
      EXPECT_EQ(off.button_touched[b], !kept) << c.code << " button " << b;
    }
    for (int i = 0; i < kChartControls; ++i) EXPECT_EQ(off.control_touched[i], c.controls[i]) << c.code << " " << i;
    // True enables all ten and all fourteen.
    const EnabledSet on = MenuCommandCodeEnabledButton(c.code, true);
    for (int b = 0; b < kToolButtons; ++b) EXPECT_EQ(on.button_touched[b], b != kHelp);
    for (bool t : on.control_touched) EXPECT_TRUE(t);
  }
}

TEST(RestScreen, CentresTheToolBarAndTheChartBelowIt) {
  Rect tool{0, 0, 18000, 800}, chart{0, 0, 17000, 8000};
  RestScreen(19000, 11800, tool, chart);
  EXPECT_EQ(chart.left, tool.left);
  EXPECT_GT(chart.top, 700);
  // No free height: the chart sits right under the tool bar.
  RestScreen(19000, 9000, tool, chart);
  EXPECT_EQ(chart.top, 700);
}

TEST(DeviceChange, ScansOnlyWhenIdleAfterStartUp) {
  ShellState shell;
  EXPECT_FALSE(DeviceChangeStartsScan(shell, MenuOperation::None));
  shell.StartupComplete = true;
  EXPECT_TRUE(DeviceChangeStartsScan(shell, MenuOperation::None));
  EXPECT_FALSE(DeviceChangeStartsScan(shell, MenuOperation::Download));
}

TEST(StopButton, RunsTheHandlerOfTheRunningCapture) {
  for (auto [code, handler] : {std::pair{0, 0}, {11, 8}, {12, 9}, {13, 11}, {14, 0}}) {
    EXPECT_EQ(StopButtonHandler(static_cast<MenuOperation>(code)), handler) << code;
  }
}

}  // namespace
}  // namespace accelog
