// The main window's frame: menus and their marks, tool bar, status bar,
// layout and the rules behind them, help, single instance, and the data list
// window it owns. Driven offscreen, dialogs through the recording port.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWheelEvent>
#include <fstream>

#include "app/shell_rules.h"
#include "ui/form2.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/tool_bar.h"
#include "support/export_points.h"
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

TEST_F(MainWindowTest, ButtonsRunTheirMenuHandlersAndStopStopsWhatIsRunning) {
  QStringList ran;
  MainWindow::Handlers h;
  for (const char* item : {"File002", "File004", "Escape", "File009", "File011"}) h[item] = [&ran, item] { ran << item; };
  window_->SetHandlers(h);
  window_->ToolBar()->Button(kSystemParameter)->click();
  window_->ToolBar()->Button(kAcceleration)->click();
  // Stop: a download stops as Escape stops it, a capture by its own handler, anything else not at all.
  using enum MenuOperation;
  for (MenuOperation running : {None, Download, LiveData, LiveSpectrum, DataView}) {
    data_.MenuCommandCode = running;
    window_->ToolBar()->Button(kStop)->click();
  }
  EXPECT_EQ(ran, (QStringList{"File002", "File004", "Escape", "File009", "File011"}));
  data_.MenuCommandCode = None;

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
  SingleInstance again(QString::fromStdString(folder.path()));
  // The lock as a crashed run leaves it: a process id above any kernel's limit has surely no owner.
  ASSERT_TRUE(std::ofstream(again.LockPath().toStdString()) << "2147483000\naccelog\n"
                                                             << QSysInfo::machineHostName().toStdString() << "\n");
  EXPECT_TRUE(again.Acquire());
}

void Wheel(QWidget* w, int delta) {
  QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

TEST_F(MainWindowTest, DataListPagesWithButtonsKeysAndTheWheel) {
  std::vector<testing::Point> points(30, {1, 2, 3});
  points[0].x = -3;  // -11.7 mg
  testing::LoadPoints(data_, points);
  Wheel(window_->ClientArea(), -120);  // nothing to page yet

  Form2* list = window_->OpenDataList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::DataList);
  EXPECT_EQ(window_->DataList(), list);
  EXPECT_EQ(OpenDataListWindow(window_.get(), data_, ui_), nullptr);  // one list at a time
  auto top = [&] { return list->Cell(0, 0) + ".." + list->Cell(24, 0); };
  EXPECT_EQ(top(), "1..25");
  EXPECT_EQ(list->Cell(0, 2), "-11.7");  // the decimal, unlike the export

  list->Button(3)->click();
  EXPECT_EQ(top(), "6..30");
  QApplication::setActiveWindow(list);
  QTest::keyClick(list, Qt::Key_PageUp);
  EXPECT_EQ(top(), "1..25");
  QTest::keyClick(list->Text1(), Qt::Key_PageDown);
  Wheel(window_->ClientArea(), 120);
  EXPECT_EQ(top(), "5..29");
  Wheel(window_->ClientArea(), -120);
  Wheel(list, -120);
  EXPECT_EQ(top(), "7..");  // 31 is beyond the points

  for (int i = 0; i < 30; ++i) list->RowButton(6)->click();
  EXPECT_EQ(top(), "25..");  // forward stops with the last point in row 6

  // Typed, then the rows shown and the box afterwards.
  const char* const moves[][2] = {{"-3", "1..25 1"}, {"x", "1..25 1"}, {"12.7", "12.. 12"}, {"99", "6..30 6"}};
  for (const auto& [typed, shown] : moves) {
    list->Text1()->setText(typed);
    list->Button(4)->click();
    EXPECT_EQ(top() + " " + list->Text1()->text(), shown) << typed;
  }
  list->Button(1)->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window_->DataList(), nullptr);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);

  testing::LoadPoints(data_, std::vector<testing::Point>(10, {1, 2, 3}));
  list = window_->OpenDataList();
  list->Text1()->setText("7");
  list->Button(4)->click();  // ten points: the box is only emptied
  EXPECT_EQ(top() + "|" + list->Text1()->text(), "1..|");
  // Escape closes it where no window manager gives it a close box.
  QApplication::setActiveWindow(list);
  QTest::keyClick(list, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window_->DataList(), nullptr);
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

}  // namespace
}  // namespace accelog
