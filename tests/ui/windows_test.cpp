// The main window's frame: menus and their marks, tool bar, status bar,
// layout and the rules behind them, help, and the data list
// window it owns. Driven offscreen, dialogs through the recording port.
// The chart window in it: pixels to twips, paint, controls, fit, leaving;
// its analysis tools as a user drives them: the key C, a cursor
// dragged with the mouse, "Zoom to A-B", the span statistics, the events.
// Then printing it: the capture and its crop, the preview with margin
// dragging, the page set-up written back, a PDF through the preview, the
// printer choice against a fake printer system, and the layout arithmetic.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "app/ab_cursors.h"
#include "app/chart_fixture.h"
#include "app/event_list.h"
#include "app/page_setup.h"
#include "app/print_layout.h"
#include "app/printers.h"
#include "app/shell_rules.h"
#include "ui/ab_readout.h"
#include "ui/chart_analysis.h"
#include "ui/dialog_page.h"
#include "ui/dialog_set_print.h"
#include "ui/events_window.h"
#include "ui/form2.h"
#include "ui/form_picture.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/print_command.h"
#include "ui/print_page.h"
#include "ui/qt_timer.h"
#include "ui/span_statistics_panel.h"
#include "ui/tool_bar.h"
#include "ui/twips.h"
#include "support/export_points.h"
#include "support/recording_ui.h"
#include "support/wait_for.h"

namespace accelog::testing {
namespace {

class ChartWindowTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    picture_ = new FormPicture(*chart_);
    window_ = std::make_unique<MainWindow>(picture_, data_);
    const std::string path = folder_.File("run.kvx");
    ASSERT_TRUE(WriteKvx(path, RealisticSamples(3000)));
    ASSERT_EQ(chart_->OpenDataFile(path), OpenResult::Ok);
    picture_->SyncFromScene();
    window_->UsePort(ui_);
    window_->show();
    window_->RestScreen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  // Pixel position of a point of the plot, given in plot twips.
  QPoint Plot(double x, double y = 2500) const {
    const double s = picture_->PixelsPerTwip();
    return QPoint(static_cast<int>(std::lround((chart_->scene.PlotOrigin().X + x) * s)),
                  static_cast<int>(std::lround((chart_->scene.PlotOrigin().Y + y) * s)));
  }
  static int RedPixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);  // rows of whole pixels, no padding
    const auto* p = reinterpret_cast<const QRgb*>(rgb.constBits());
    return static_cast<int>(std::count(p, p + rgb.width() * rgb.height(), qRgb(255, 0, 0)));
  }
  RecordingUi ui_;
  FormPicture* picture_ = nullptr;
  std::unique_ptr<MainWindow> window_;
};

using MainWindowTest = ChartWindowTest;

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
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
    window_->Action("File016")->trigger();
    ASSERT_NE(window_->Help(), nullptr);
    EXPECT_TRUE(window_->Help()->Browser()->toPlainText().contains("accelog"));
    QApplication::setActiveWindow(window_->Help());
    ASSERT_TRUE(window_->Help()->isVisible());
    QTest::keySequence(window_->Help(), keys);
    EXPECT_FALSE(window_->Help()->isVisible()) << keys.toString().toStdString();
  }
}

void Wheel(QWidget* w, int delta) {
  QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

TEST_F(MainWindowTest, DataListPagesWithButtonsKeysAndTheWheel) {
  std::vector<Point> points(30, {1, 2, 3});
  points[0].x = -3;  // -11.7 mg
  LoadPoints(data_, points);
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

  LoadPoints(data_, std::vector<Point>(10, {1, 2, 3}));
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

TEST_F(ChartWindowTest, MouseReadsTheColumnUnderItAtAnyZoom) {
  for (double zoom : {1.0, 1.7}) {
    picture_->SetZoom(zoom);
    QTest::mouseMove(picture_, Plot(65 * 80 + 30, 2000));
    EXPECT_EQ(chart_->state.CursorColumn, 80) << zoom;
    // Leaving the window takes the cross-hair with it.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(picture_, &leave);
    EXPECT_FLOAT_EQ(chart_->scene.CrossHairH.X1, -1000);
  }
}

TEST_F(ChartWindowTest, PaintShowsThePlotBorderAndTheBackColour) {
  const QImage image = picture_->grab().toImage();
  const QPoint top = Plot(chart_->scene.LineLeft.X1, 100), bottom = Plot(chart_->scene.LineLeft.X1, 4900);
  int dark = 0;
  for (int y = top.y(); y <= bottom.y(); ++y) dark += qGray(image.pixel(top.x(), y)) < 100;
  EXPECT_GT(dark, (bottom.y() - top.y()) * 9 / 10);
  EXPECT_EQ(picture_->AllPointsButton()->grab().toImage().pixelColor(3, 3), QColor(236, 233, 216));
}

TEST_F(ChartWindowTest, CheckBoxesDriveTheCurvesAndThePaint) {
  const int red_before = RedPixels(picture_->grab().toImage());
  EXPECT_GT(red_before, 500);
  const QPoint box(6, picture_->CheckBox(1)->height() / 2);
  QTest::mouseClick(picture_->CheckBox(1), Qt::LeftButton, {}, box);
  EXPECT_EQ(chart_->state.CurveShown[kCurveX], 0);
  EXPECT_LT(RedPixels(picture_->grab().toImage()), red_before / 4);  // legend and marker stay
}

// Laid out only once start-up is over; small windows scroll; Fit to Window
// scales the chart and is remembered.
TEST_F(ChartWindowTest, LaidOutAfterStartUpSmallWindowsScrollAndFitToWindowScalesTheChartAndIsRemembered) {
  MainWindow& w = *window_;
  const QSize normal = picture_->NormalSize();
  const QPoint before = picture_->pos();
  w.resize(1400, 900);
  QApplication::processEvents();
  EXPECT_EQ(picture_->pos(), before);  // start-up still running: no layout yet
  w.Shell().StartupComplete = true;
  EXPECT_FALSE(w.FitToWindow());  // off by default
  w.resize(700, 450);
  QApplication::processEvents();
  EXPECT_GT(w.Scroller()->horizontalScrollBar()->maximum(), 0);
  EXPECT_GE(w.ClientArea()->height(), picture_->geometry().bottom());  // everything can be reached
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
  EXPECT_GT(picture_->width(), normal.width() * 13 / 10);
  EXPECT_LE(picture_->geometry().bottom(), w.Scroller()->viewport()->height());
  EXPECT_TRUE(MainWindow(new FormPicture(*chart_), data_).FitToWindow());
}

TEST_F(ChartWindowTest, CursorsOffLeaveTheChartAsItWasAndTheKeyShowsThem) {
  const QImage before = picture_->grab().toImage();
  auto* tools = new ChartAnalysis(*window_, *picture_);
  picture_->SyncFromScene();
  EXPECT_EQ(picture_->grab().toImage(), before);
  EXPECT_FALSE(tools->ToolBar()->isVisible());  // until asked for

  QTest::keyClick(window_.get(), Qt::Key_C);
  ASSERT_TRUE(tools->Cursors().Shown());
  EXPECT_TRUE(tools->AbAction()->isChecked());
  EXPECT_TRUE(tools->ReadOut()->isVisible());
  EXPECT_EQ(tools->ReadOut()->Cell(0, 1), QString::number(tools->Cursors().A()));
  EXPECT_NE(picture_->grab().toImage(), before);
  QTest::keyClick(window_.get(), Qt::Key_C);
  EXPECT_FALSE(tools->ReadOut()->isVisible());
  EXPECT_EQ(picture_->grab().toImage(), before);
  // Closing the read-out (no window manager: Escape) takes the cursors with it.
  QTest::keyClick(window_.get(), Qt::Key_C);
  QApplication::setActiveWindow(tools->ReadOut());
  QTest::keyClick(tools->ReadOut(), Qt::Key_Escape);
  EXPECT_FALSE(tools->AbAction()->isChecked());
  EXPECT_FALSE(tools->Cursors().Shown());
}

TEST_F(ChartWindowTest, DraggingACursorMovesItsPointNotTheWindow) {
  auto* tools = new ChartAnalysis(*window_, *picture_);
  AbCursors& ab = tools->Cursors();
  tools->ShowCursors(true);
  tools->ShowStatistics(true);
  EXPECT_TRUE(tools->Statistics()->Heading()->text().startsWith("Between the cursors"));
  ab.Place(600, 2400);
  const int32_t target = 1500;
  QTest::mousePress(picture_, Qt::LeftButton, {}, Plot(*ab.PlotX(600) + 20));
  QTest::mouseMove(picture_, Plot(*ab.PlotX(target)));
  QTest::mouseRelease(picture_, Qt::LeftButton, {}, Plot(*ab.PlotX(target)));
  EXPECT_NEAR(ab.A(), target, 8);  // within the pixel the pointer stands on
  EXPECT_FALSE(chart_->state.RubberBandActive);  // the press was no drag zoom
  EXPECT_EQ(tools->ReadOut()->Cell(0, 1), QString::number(ab.A()));
  EXPECT_EQ(std::pair(data_.DispStartPoint, data_.DispEndPoint), std::pair(1, 3000));
  EXPECT_TRUE(tools->Statistics()->Heading()->text().contains(QString("points %1 to 2400").arg(ab.A())));

  tools->ZoomAction()->trigger();
  EXPECT_EQ(std::pair(data_.DispStartPoint, data_.DispEndPoint), std::pair(ab.A(), 2400));
  // Off, the statistics follow the window.
  tools->ShowCursors(false);
  EXPECT_TRUE(tools->Statistics()->Heading()->text().contains(QString("Shown window: points %1 to 2400").arg(ab.A())));
}

TEST_F(ChartWindowTest, ADoubleClickedEventIsShownBetweenTheCursors) {
  auto* tools = new ChartAnalysis(*window_, *picture_);
  tools->EventsAction()->trigger();
  EventsWindow* events = tools->Events();
  ASSERT_TRUE(events->isVisible());
  EXPECT_DOUBLE_EQ(events->Threshold()->value(), DefaultEventThreshold(data_));
  const size_t first_count = events->Events().events.size();
  ASSERT_GT(first_count, 1u);
  const double threshold = events->Threshold()->value();
  events->Threshold()->setValue(20000);  // beyond every value: the list empties
  EXPECT_EQ(events->Table()->model()->rowCount(), 0);
  events->Threshold()->setValue(threshold);
  EXPECT_EQ(events->Table()->model()->rowCount(), static_cast<int>(first_count));

  int row = static_cast<int>(first_count) - 1;  // the last of more than one point
  while (row > 0 && events->Events().events[static_cast<size_t>(row)].points < 2) --row;
  const ThresholdEvent chosen = events->Events().events[static_cast<size_t>(row)];
  ASSERT_GT(chosen.points, 1);
  const QModelIndex cell = events->Table()->model()->index(row, 1);
  events->Table()->scrollTo(cell);
  const QPoint at = events->Table()->visualRect(cell).center();
  QTest::mouseClick(events->Table()->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(events->Table()->viewport(), Qt::LeftButton, {}, at);
  const PointSpan window = EventWindow(chosen, data_.CountPoint);
  EXPECT_EQ(std::pair(data_.DispStartPoint, data_.DispEndPoint), std::pair(window.first, window.last));
  EXPECT_EQ(std::pair(tools->Cursors().A(), tools->Cursors().B()), std::pair(chosen.first, chosen.last));
  EXPECT_TRUE(tools->AbAction()->isChecked());
  EXPECT_EQ(tools->ReadOut()->Cell(1, 1), QString::number(chosen.last));
}

class FakePrinters : public PrinterSystem {
 public:
  std::vector<std::string> Names() override { return names; }
  std::string DefaultName() override { return names.empty() ? "" : names.front(); }
  int SetDefault(const std::string& name) override {
    set.push_back(name);
    return error;
  }
  std::vector<std::string> names = {"Office", "Lab"};
  std::vector<std::string> set;
  int error = 0;
};

void Mouse(QWidget* w, QEvent::Type type, double x_twips, double y_twips) {
  const QPointF at(x_twips * LogicalDpi() / 1440.0, y_twips * LogicalDpi() / 1440.0);
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

class PrintWindowTest : public ChartWindowTest {
 protected:
  void SetUp() override {
    ChartWindowTest::SetUp();
    window_->resize(TwipsToPixels(30000), TwipsToPixels(8203));  // the preview's zoom comes out at 0.5
    ApplyDefaults(parameters_.Values());
    command_ = std::make_unique<PrintCommand>(window_.get(), picture_, printers_, ui_, MakeQtTimer(),
                                              PrintJob{.Parameters = &parameters_});
  }

  ParameterStore parameters_{folder_.path()};
  FakePrinters printers_;
  std::unique_ptr<PrintCommand> command_;
};

TEST_F(PrintWindowTest, PrintCapturesThePlotPreviewsAndPrintsIt) {
  data_.DataLoaded = false;
  command_->StartPrint();  // nothing shown: nothing happens
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
  EXPECT_EQ(command_->Job().Step, PrintStep::Idle);

  data_.DataLoaded = true;
  command_->StartPrint();
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::Print);
  ASSERT_TRUE(WaitFor([&] { return command_->Preview() != nullptr; }, 6000));
  FormPrint* preview = command_->Preview();

  // The capture on disk is the main window; the cut-out holds the plot and its labels.
  EXPECT_EQ(QImage(CaptureFilePath()).size(), window_->grab().size());  // a null image would be 0 x 0
  const double tw = 1440.0 / LogicalDpi();
  const TwipPoint plot = chart_->scene.PlotOrigin();
  const QPoint at = picture_->mapTo(window_.get(), QPoint(0, 0));  // inside the client area, under the tool bar
  const double plot_left = at.x() * tw + plot.X, plot_top = at.y() * tw + plot.Y;
  const TwipRect cut = CutOutSource(command_->Job());
  EXPECT_LT(cut.Left, plot_left);
  EXPECT_NEAR(cut.Top, plot_top, 50);
  EXPECT_GT(cut.Left + cut.Width, plot_left + chart_->scene.PlotFrame.Width);
  EXPECT_GE(cut.Top + cut.Height, plot_top + chart_->scene.PlotFrame.Height + 500);

  // Drag the left margin to 566 preview twips at zoom 0.5.
  EXPECT_NEAR(command_->Job().PreviewZoom, 0.5f, 1e-4);
  QWidget* page = preview->Frame22();
  Mouse(page, QEvent::MouseButtonPress, preview->Layout().LineLeft, 3000);
  Mouse(page, QEvent::MouseMove, 566, 3000);
  EXPECT_EQ(preview->Label33()->text(), "20mm");
  Mouse(page, QEvent::MouseButtonRelease, 566, 3000);
  EXPECT_EQ(parameters_.Values().MarginLeft, 20);
  EXPECT_FALSE(preview->Label33()->isVisible());

  // Page Setup: a word is refused, Letter with a left margin of 7 is taken and stored.
  preview->EditPageSetup = [this](const PageSetup& v) -> std::optional<PageSetup> {
    DialogPage dialog(v, ui_);
    dialog.Text(3)->setText("seven");
    dialog.AcceptValues();
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"Error"});
    dialog.Paper(3)->click();
    dialog.Text(3)->setText("7");
    dialog.Button("CommandAddPictureScale")->click();
    EXPECT_EQ(dialog.Text(7)->text(), "0.91");
    dialog.AcceptValues();
    if (dialog.result() != QDialog::Accepted) return std::nullopt;
    return dialog.Values();
  };
  preview->ChangePageSetup();
  // The store on disk holds paper kind 3 and left margin 7 (its layout is checked with the store).
  const std::vector<unsigned char> file = ReadBytes(folder_.File("MPInteger.kvx"));
  ASSERT_EQ(file.size(), 78u);
  EXPECT_EQ(std::tuple(file[60], file[64], file[76]), std::tuple(3, 7, 91));

  // Print through the "PDF file…" entry; the extension is added.
  preview->ChoosePrinter = [] { return true; };
  ui_.files = {folder_.File("chart")};
  preview->PrintPage();
  EXPECT_GT(QFile(QString::fromStdString(folder_.File("chart.pdf"))).size(), 1000);
  EXPECT_EQ(ui_.messages.size(), 1u);

  // Ctrl+W closes it where no window manager gives it a close box.
  QApplication::setActiveWindow(preview);
  QTest::keyClick(preview, Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
  EXPECT_TRUE(WaitFor([&] { return command_->Preview() == nullptr; }, 2000));
}

TEST_F(PrintWindowTest, PrinterChoice) {
  // Row chosen (-1 none), the error the system gives, the names set, the printer after, the message, PDF chosen.
  using Case = std::tuple<int, int, std::vector<std::string>, std::string, std::string, bool>;
  for (const auto& [row, error, set, after, message, pdf] :
       {Case{-1, 0, {}, "Lab", "", false}, Case{1, 0, {"Lab"}, "Lab", "", false},
        Case{0, 0, {"Office"}, "Office", "", false},
        Case{0, 1030, {"Office"}, "Lab", "SetPrinter Failed. Error code: 1030", false},
        Case{2, 0, {}, "Lab", "", true}}) {
    printers_.set.clear();
    printers_.error = error;
    ui_.messages.clear();
    std::string current = "Lab";
    DialogSetPrint dialog(printers_, current, ui_);
    ASSERT_EQ(dialog.List1()->count(), 3);
    EXPECT_EQ(dialog.List1()->item(2)->text(), "PDF file\u2026");
    if (row >= 0) dialog.List1()->setCurrentRow(row);
    dialog.Command1()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << row;
    EXPECT_EQ(std::tuple(printers_.set, current, dialog.PdfChosen()), std::tuple(set, after, pdf)) << row;
    EXPECT_EQ(ui_.messages, message.empty() ? std::vector<std::string>{} : std::vector{message}) << row;
  }
}

// The arithmetic behind the preview: page and zoom, margin dragging,
// picture moves, the scale buttons and the page-setup boxes.

class PageLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ApplyDefaults(m_); }
  ParameterStore parameters_{""};  // nothing here is saved
  RecordingParameters& m_ = parameters_.Values();
  PrintJob job_{.Parameters = &parameters_};
};

TEST_F(PageLayoutTest, PreviewZoomStopsAtTheFirstFit) {
  const PageTwips page = PageSizeTwips(m_.PaperWidth, m_.PaperHeight, m_.PaperDirection);
  auto fits = [&](double z, int w, int h) { return z * page.Width + 1000 < w && z * page.Height + 1000 < h; };
  for (auto [w, h] : {std::pair{19000, 11800}, {30000, 8203}, {12000, 30000}}) {
    const double z = PreviewZoomFor(page, w, h) + 0.1;
    EXPECT_TRUE(fits(z + 1e-4, w, h)) << w << "x" << h;
    EXPECT_FALSE(fits(z + 0.01 + 1e-4, w, h)) << w << "x" << h;
  }
  EXPECT_GT(PreviewZoomFor(page, 100, 100), 0.0f);  // never a negative page
}

TEST_F(PageLayoutTest, DraggedLinesGiveMillimetresFromTheirOwnEdge) {
  job_.PreviewZoom = 0.5f;
  const PreviewLayout l{.PageWidth = 8000, .PageHeight = 6000};
  struct Case {
    MarginLine line;
    double x, y;
    int16_t mm, view;
    const int16_t* kept;
  } cases[] = {
      {MarginLine::Left, 566, 3000, 20, 566, &job_.ViewMarginLeft},
      {MarginLine::Right, 8000 - 566, 3000, 20, 566, &job_.ViewMarginRight},
      {MarginLine::Top, 100, 283, 10, 283, &job_.ViewMarginTop},
      {MarginLine::Down, 100, 6000 - 1417, 50, 1417, &job_.ViewMarginDown},
      {MarginLine::Left, -300, 0, 0, 0, &job_.ViewMarginLeft},  // off the page: held at its edge
  };
  for (const Case& c : cases) {
    const int16_t mm = DragMarginLine(job_, c.line, l, c.x, c.y);
    EXPECT_EQ(std::pair(mm, *c.kept), std::pair(c.mm, c.view)) << c.x << "," << c.y;
  }
  EXPECT_EQ(m_.MarginRight, 20);
  // After release the preview lays the line out again from the millimetres.
  m_.MarginLeft = 20;
  const PreviewLayout again = LayOutPreview(job_, 30000, 8203);
  EXPECT_EQ(again.LineLeft, std::lround(20 * 56.6929 * job_.PreviewZoom));
  EXPECT_EQ(MarginLineNear(again, again.LineLeft + 50, 4000), MarginLine::Left);
  EXPECT_EQ(MarginLineNear(again, again.LineLeft + 51, again.LineTop + 200), MarginLine::None);
}

TEST_F(PageLayoutTest, DoubleClicksMoveTheCutOutByZone) {
  struct Case {
    int x, y;
    int right, down;
  } cases[] = {{2999, 2000, 10, 0}, {9500, 100, -10, 0}, {5000, 4000, 0, -10}, {5000, 2500, 0, 10},
               {0, 0, 0, 0},        {5000, 3300, 0, 0}};
  for (const Case& c : cases) {
    m_.PictureMoveRight = m_.PictureMoveDown = 0;
    const bool moved = MovePictureByZone(job_, c.x, c.y, 10000, 6400);
    EXPECT_EQ(std::tuple(moved, m_.PictureMoveRight, m_.PictureMoveDown), std::tuple(c.right || c.down, c.right, c.down))
        << c.x << "," << c.y;
  }
}

TEST_F(PageLayoutTest, ScaleButtonsStepOneHundredthAndNeverStick) {
  for (int percent = 5; percent <= 300; ++percent) {
    const float s = percent / 100.0f;
    EXPECT_NEAR(PictureScaleUp(s), (percent + 1) / 100.0, 1e-5) << s;
    EXPECT_NEAR(PictureScaleDown(s), (percent - 1) / 100.0, 1e-5) << s;
  }
  // Between hundredths "+" goes to the next one and "-" to the one below.
  EXPECT_NEAR(PictureScaleUp(0.955f), 0.96, 1e-6);
  EXPECT_NEAR(PictureScaleDown(0.955f), 0.94, 1e-6);
}

TEST_F(PageLayoutTest, BoxesThatHoldNoUsableNumberAreAnError) {
  const PageSetupTexts good = {"216", "279", " 12 ", "5", "50.4", "10", "0.85", "-20", "30"};
  const std::optional<PageSetup> v = PageSetupFromTexts(3, 1, good);
  ASSERT_TRUE(v);
  EXPECT_EQ(std::tuple(v->PaperKind, v->PaperDirection, v->PaperWidth, v->MarginLeft, v->MarginTop, v->PictureScale,
                       v->PictureMoveDown, v->PictureMoveRight),
            std::tuple(3, 1, 216, 12, 50, 0.85f, -20, 30));
  for (size_t box = 0; box < good.size(); ++box) {
    for (const char* bad : {"", "abc", "12mm", "1e9"}) {
      PageSetupTexts t = good;
      t[box] = bad;
      EXPECT_FALSE(PageSetupFromTexts(0, 0, t)) << "Text" << box + 1 << " = " << bad;
    }
  }
  // Width, margin and scale out of range: a scale whose stored percent is 0 draws nothing.
  for (auto [box, text] : {std::pair{0, "0"}, {3, "-1"}, {6, "0"}, {6, "0.004"}, {6, "1e-30"}, {6, "10.5"}}) {
    PageSetupTexts t = good;
    t[static_cast<size_t>(box)] = text;
    EXPECT_FALSE(PageSetupFromTexts(0, 0, t)) << "Text" << box + 1 << " = " << text;
  }
}

}  // namespace
}  // namespace accelog::testing
