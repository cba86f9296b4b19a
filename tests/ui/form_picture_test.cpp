// The chart window as a widget: pixels to twips, paint, controls, leaving.
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "app/chart_fixture.h"
#include "ui/form_picture.h"

namespace accelog::testing {
namespace {

class FormPictureTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    window_ = std::make_unique<FormPicture>(*chart_);
    const std::string path = folder_.File("run.kvx");
    ASSERT_TRUE(WriteKvx(path, RealisticSamples(6000, 2000, 150)));
    ASSERT_EQ(chart_->OpenDataFile(path), OpenResult::Ok);
    window_->SyncFromScene();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  // Pixel position of a point of the plot, given in plot twips.
  QPoint Plot(double x, double y) const {
    const double s = window_->PixelsPerTwip();
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
  std::unique_ptr<FormPicture> window_;
};

TEST_F(FormPictureTest, MouseReadsTheColumnUnderItAtAnyZoom) {
  for (double zoom : {1.0, 1.7}) {
    window_->SetZoom(zoom);
    const QPoint p = Plot(65 * 80 + 30, 2000);
    QTest::mouseMove(window_.get(), p);
    EXPECT_EQ(chart_->state.CursorColumn, 80) << zoom;
    // Leaving the window takes the cross-hair with it.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window_.get(), &leave);
    EXPECT_FLOAT_EQ(chart_->scene.CrossHairH.X1, -1000);
  }
}

TEST_F(FormPictureTest, PaintShowsThePlotBorderAndTheBackColour) {
  const QImage image = window_->grab().toImage();
  const QPoint top = Plot(chart_->scene.LineLeft.X1, 100), bottom = Plot(chart_->scene.LineLeft.X1, 4900);
  int dark = 0;
  for (int y = top.y(); y <= bottom.y(); ++y) dark += qGray(image.pixel(top.x(), y)) < 100;
  EXPECT_GT(dark, (bottom.y() - top.y()) * 9 / 10);
  EXPECT_EQ(window_->AllPointsButton()->grab().toImage().pixelColor(3, 3), QColor(236, 233, 216));
}

TEST_F(FormPictureTest, CheckBoxesDriveTheCurvesAndThePaint) {
  const int red_before = RedPixels(window_->grab().toImage());
  EXPECT_GT(red_before, 500);
  const QPoint box(6, window_->CheckBox(1)->height() / 2);
  QTest::mouseClick(window_->CheckBox(1), Qt::LeftButton, {}, box);
  EXPECT_EQ(chart_->state.CurveShown[kCurveX], 0);
  EXPECT_LT(RedPixels(window_->grab().toImage()), red_before / 4);  // legend and marker stay
}

}  // namespace
}  // namespace accelog::testing
