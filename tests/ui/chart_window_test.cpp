// The chart window in the main window: pixels to twips, paint, controls,
// leaving; and its analysis tools as a user drives them: the key C, a cursor
// dragged with the mouse, "Zoom to A-B", the span statistics, the events.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <cmath>

#include "app/ab_cursors.h"
#include "app/chart_fixture.h"
#include "app/event_list.h"
#include "ui/ab_readout.h"
#include "ui/chart_analysis.h"
#include "ui/events_window.h"
#include "ui/form_picture.h"
#include "ui/main_window.h"
#include "ui/span_statistics_panel.h"

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
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(255, 0, 0);
    }
    return n;
  }
  FormPicture* picture_ = nullptr;
  std::unique_ptr<MainWindow> window_;
};

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

}  // namespace
}  // namespace accelog::testing
