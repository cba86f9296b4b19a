#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "chart_fixture.h"
#include "charts/chart_views.h"
#include "charts/cursor_scroll.h"
#include "charts/form_picture.h"

namespace accelog::testing {
namespace {

class FormPictureTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    ResetChartScene();
    ResetChartState();
    window_ = std::make_unique<FormPicture>();
    path_ = folder_.File("run.kvx");
    ASSERT_TRUE(WriteKvx(path_, RealisticSamples(6000, 2000, 150)));
    ASSERT_EQ(OpenDataFileInChart(path_), OpenResult::Ok);
    window_->SyncFromScene();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  // Pixel position of a point of the plot, given in plot twips.
  QPoint Plot(double x, double y) const {
    const TwipPoint o = PlotOrigin();
    return Pixels(o.X + x, o.Y + y);
  }
  QPoint Track(double x) const {
    const TwipPoint o = TrackOrigin();
    return Pixels(o.X + x, o.Y + 200);
  }
  QPoint Pixels(double x, double y) const {
    const double s = window_->PixelsPerTwip();
    return QPoint(static_cast<int>(std::lround(x * s)), static_cast<int>(std::lround(y * s)));
  }
  // The plot column a pixel position falls into, by the cursor rule.
  int ColumnAt(const QPoint& p) const {
    const double x = window_->ToTwips(QPointF(p)).x() - PlotOrigin().X;
    return std::clamp(static_cast<int>(std::floor(x / 65.0)), 1, 200);
  }

  // On the box itself: the rest of a check box's width is no click target.
  QPoint Box(int i) const { return QPoint(6, window_->Check(i)->height() / 2); }

  std::unique_ptr<FormPicture> window_;
  std::string path_;
};

TEST_F(FormPictureTest, SizeIsTheWindowInTwips) {
  const double s = window_->PixelsPerTwip();
  EXPECT_EQ(window_->width(), std::lround(18000 * s));
  EXPECT_EQ(window_->height(), std::lround(9400 * s));
  EXPECT_EQ(window_->Text(24)->text().toStdString(), folder_.path() + "/run.kvx");
  EXPECT_FALSE(window_->Check(13)->isEnabled());
  EXPECT_FALSE(window_->Check(12)->isVisible());
}

TEST_F(FormPictureTest, MouseMoveShowsTheReadOutOfTheColumn) {
  const QPoint p = Plot(65 * 80 + 30, 2000);
  QTest::mouseMove(window_.get(), p);
  const int column = ColumnAt(p);
  EXPECT_EQ(ChartState.CursorColumn, column);
  EXPECT_EQ(ChartScene.Label25.Caption, LockReadOutText(Data.SlotPoint[column]));
  EXPECT_NE(ChartScene.LineYY.X1, -1000);
  QTest::mouseMove(window_.get(), Pixels(PlotOrigin().X - 400, PlotOrigin().Y + 1000));
  EXPECT_FLOAT_EQ(ChartScene.LineXX.X1, -1000);  // over the left strip: cross-hair gone
}

TEST_F(FormPictureTest, DragZoomsIntoTheDraggedColumns) {
  const QPoint from = Plot(65 * 40 + 20, 1000), to = Plot(65 * 90 + 20, 3000);
  const int32_t start = Data.SlotPoint[ColumnAt(from)], end = Data.SlotPoint[ColumnAt(to)];
  QTest::mousePress(window_.get(), Qt::LeftButton, {}, from);
  QTest::mouseMove(window_.get(), to);
  EXPECT_GT(ChartScene.ShapeFrame.Width, 3000);
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, to);
  EXPECT_EQ(Data.DispStartPoint, start);
  EXPECT_EQ(Data.DispEndPoint, end);
  EXPECT_EQ(ChartScene.Label28.Caption, std::to_string(start));
  EXPECT_FLOAT_EQ(ChartScene.ShapeFrame.Left, -10000);

  // A drag of under 100 twips zooms nothing.
  QTest::mousePress(window_.get(), Qt::LeftButton, {}, Plot(3000, 1000));
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, Plot(3090, 1000));
  EXPECT_EQ(Data.DispStartPoint, start);
  EXPECT_EQ(Data.DispEndPoint, end);
}

TEST_F(FormPictureTest, DoubleClickLocksTheReadOut) {
  const QPoint p = Plot(65 * 30 + 20, 2000);
  QTest::mouseMove(window_.get(), p);
  const std::string locked = ChartScene.Label25.Caption;
  QTest::mouseDClick(window_.get(), Qt::LeftButton, {}, p);
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, p);
  EXPECT_TRUE(ChartState.CursorLocked);
  EXPECT_EQ(Data.DispStartPoint, 1);  // the clicks zoomed nothing
  EXPECT_EQ(Data.DispEndPoint, 6000);
  QTest::mouseMove(window_.get(), Plot(65 * 150, 2500));
  EXPECT_EQ(ChartScene.Label25.Caption, locked);
  QTest::mouseDClick(window_.get(), Qt::LeftButton, {}, p);
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, p);
  EXPECT_FALSE(ChartState.CursorLocked);
  QTest::mouseMove(window_.get(), Plot(65 * 150 + 20, 2500));
  EXPECT_NE(ChartScene.Label25.Caption, locked);
}

TEST_F(FormPictureTest, ScrollTrackButtonsAndAllPoint) {
  // Zoom in first through the start marker: drag it to the track's middle.
  QTest::mousePress(window_.get(), Qt::LeftButton, {}, Track(20));
  QTest::mouseMove(window_.get(), Track(6000));
  EXPECT_EQ(ChartScene.Label28.Caption, std::to_string(Data.DispStartPoint));
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, Track(6000));
  const int32_t start = Data.DispStartPoint;
  EXPECT_NEAR(start, 3000, 10);
  EXPECT_EQ(Data.DispEndPoint, 6000);
  EXPECT_EQ(Data.SlotPoint[1], start);

  QTest::mouseDClick(window_.get(), Qt::LeftButton, {}, Track(9000));
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, Track(9000));
  EXPECT_EQ(Data.DispStartPoint, start - 50);
  EXPECT_EQ(Data.DispEndPoint, 6000);

  QTest::mouseClick(window_->Picture(100), Qt::LeftButton);
  EXPECT_EQ(Data.DispStartPoint, start - 100);
  QTest::mouseClick(window_->Command1(), Qt::LeftButton);
  EXPECT_EQ(Data.DispStartPoint, 1);
  EXPECT_EQ(Data.DispEndPoint, 6000);
  EXPECT_EQ(window_->Text(19)->text(), "5550");  // 6000 less three gaps of 150 zero points
}

TEST_F(FormPictureTest, CheckBoxesDriveTheCurvesAndThePaint) {
  QImage before = window_->grab().toImage();
  auto red_pixels = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(255, 0, 0);
    }
    return n;
  };
  const int red_before = red_pixels(before);
  EXPECT_GT(red_before, 500);
  QTest::mouseClick(window_->Check(1), Qt::LeftButton, {}, Box(1));
  EXPECT_EQ(ChartState.CurveShown[kCurveX], 0);
  EXPECT_FLOAT_EQ(Seg(kCurveX, 2, 100).Y1, kParkHidden);
  const int red_after = red_pixels(window_->grab().toImage());
  EXPECT_LT(red_after, red_before / 4);  // the legend line and lock marker stay
  QTest::mouseClick(window_->Check(5), Qt::LeftButton, {}, Box(5));
  EXPECT_EQ(ChartState.CurveShown[kCurveAX], 1);
  EXPECT_LT(Seg(kCurveAX, 2, 100).Y1, 10000);
  // Pan is refused while no operation runs.
  const int16_t offset = Conv.AccelOffset;
  QTest::mouseClick(window_->Picture(1), Qt::LeftButton);
  EXPECT_EQ(Conv.AccelOffset, offset);
}

}  // namespace
}  // namespace accelog::testing
