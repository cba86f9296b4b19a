#include "app/ab_cursors.h"

#include "app/chart_fixture.h"

namespace accelog::testing {
namespace {

class AbCursorsTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    std::vector<KvxSample> samples = Flat(1000);
    for (size_t i = 0; i < samples.size(); ++i) samples[i].x = static_cast<int16_t>(i % 50);
    FillPoints(samples);
    data_.Head.RecordInterval = 50;  // ms
    data_.MenuCommandCode = MenuOperation::DataView;
    Show(1, 1000);
    ab_ = std::make_unique<AbCursors>(*chart_);
  }
  std::unique_ptr<AbCursors> ab_;
};

TEST_F(AbCursorsTest, EveryShownPointMapsToAnXAndBackInAnyWindow) {
  ab_->SetShown(true);
  for (auto [start, end] : {std::pair(1, 1000), std::pair(1, 40), std::pair(300, 700), std::pair(5, 9), std::pair(7, 7)}) {
    Show(start, end);
    float last = -1;
    for (int32_t p = start; p <= end; ++p) {
      const std::optional<float> x = ab_->PlotX(p);
      ASSERT_TRUE(x) << start << ".." << end << " point " << p;
      EXPECT_GT(*x, last) << p;
      EXPECT_EQ(ab_->PointAt(*x), p) << start << ".." << end;
      last = *x;
    }
    EXPECT_FALSE(ab_->PlotX(start - 1));
    EXPECT_FALSE(ab_->PlotX(end + 1));
  }
}

TEST_F(AbCursorsTest, CursorsStayOnTheirPointsAndZoomToTheirSpan) {
  ab_->SetShown(true);
  EXPECT_EQ(std::pair(ab_->A(), ab_->B()), std::pair(250, 750));  // a quarter into the window, and three
  ab_->Place(600, 300);
  Show(250, 650);
  EXPECT_EQ(std::pair(ab_->A(), ab_->B()), std::pair(600, 300));
  EXPECT_EQ(ab_->StatisticsSpan().first, 300);
  EXPECT_EQ(ab_->StatisticsSpan().last, 600);
  ab_->ZoomToSpan();
  EXPECT_EQ(std::pair(data_.DispStartPoint, data_.DispEndPoint), std::pair(300, 600));
  EXPECT_EQ(data_.SlotPoint[1], 300);  // the columns were mapped anew
  EXPECT_EQ(chart_->scene.ScrollEndLabel.Caption, "600");

  ab_->SetShown(false);  // without cursors the statistics cover the window
  EXPECT_EQ(ab_->StatisticsSpan().first, 300);
  Show(100, 900);
  EXPECT_EQ(ab_->StatisticsSpan().last, 900);
  ab_->SetShown(true);  // back on: the cursors were where they are kept
  EXPECT_EQ(std::pair(ab_->A(), ab_->B()), std::pair(600, 300));
  Show(700, 900);
  ab_->SetShown(false);
  ab_->SetShown(true);  // neither in the window any more: both come into it
  EXPECT_EQ(std::pair(ab_->A(), ab_->B()), std::pair(750, 850));
}

TEST_F(AbCursorsTest, OnlyAShownCursorWithinReachIsDragged) {
  ab_->Place(300, 600);
  const float a = *ab_->PlotX(300);
  EXPECT_FALSE(ab_->Grab(a, 20));  // not shown yet
  ab_->SetShown(true);
  ab_->Place(300, 600);
  EXPECT_FALSE(ab_->Grab(a + 40, 20));
  EXPECT_FALSE(ab_->DragTo(*ab_->PlotX(450)));
  ASSERT_TRUE(ab_->Grab(a + 10, 20));
  EXPECT_EQ(ab_->Dragging(), AbCursor::A);
  EXPECT_TRUE(ab_->DragTo(*ab_->PlotX(450)));
  ab_->Release();
  EXPECT_FALSE(ab_->DragTo(*ab_->PlotX(500)));
  EXPECT_EQ(std::pair(ab_->A(), ab_->B()), std::pair(450, 600));
  Show(1, 400);  // B out of the window: it cannot be taken
  EXPECT_FALSE(ab_->Grab(chart_->CurveColumnX(200), 1000) && ab_->Dragging() == AbCursor::B);
}

TEST_F(AbCursorsTest, ReadOutGivesBothPointsAndTheirDifferences) {
  ab_->SetShown(true);
  for (auto [a, b] : {std::pair(101, 411), std::pair(411, 101), std::pair(7, 7)}) {
    ab_->Place(a, b);
    const AbReadOut r = ab_->ReadOut();
    EXPECT_EQ(r.a.point, a);
    EXPECT_EQ(r.b.point, b);
    EXPECT_FLOAT_EQ(r.a.values[0], data_.RealData[a].X);
    EXPECT_FLOAT_EQ(r.b.values[3], data_.RealData[b].V);
    EXPECT_EQ(r.points, b - a);
    EXPECT_DOUBLE_EQ(r.seconds, (b - a) * 0.05);
    EXPECT_FLOAT_EQ(r.values[0], data_.RealData[b].X - data_.RealData[a].X);
    EXPECT_DOUBLE_EQ(r.hertz, a == b ? 0 : 1 / std::abs((b - a) * 0.05));
    EXPECT_FALSE(r.a.time.empty());
  }
  // Differences as the values are written, without the float's tail.
  for (auto [a, b, text] : {std::tuple(1002.3f, 1010.1f, "7.8"), std::tuple(1032.278f, 1012.461f, "-19.817"),
                            std::tuple(966.7124f, std::nextafter(1012.461f, 2e3f), "45.7486"), std::tuple(3.9f, 3.9f, "0.0"), std::tuple(-0.04f, 0.f, "0.04"), std::tuple(12.f, 7.f, "-5")}) {
    EXPECT_EQ(DifferenceText(a, b), text) << a << " " << b;
  }
}

TEST_F(AbCursorsTest, AnotherFileOrNoFileMovesOrRefusesTheCursors) {
  ab_->SetShown(true);
  ab_->Place(10, 20);
  data_.DataFileName = "other.kvx";
  ab_->FollowFile();
  EXPECT_EQ(std::pair(ab_->A(), ab_->B()), std::pair(250, 750));
  data_.FrequencyView = true;
  ab_->SetShown(true);
  EXPECT_FALSE(ab_->Shown());
  ab_->ShowSpan({1, 10}, {2, 3});
  EXPECT_EQ(data_.DispEndPoint, 1000);
  data_.FrequencyView = false;
  ab_->ShowSpan({990, 1200}, {995, 999});  // clipped to the file
  EXPECT_TRUE(ab_->Shown());
  EXPECT_EQ(std::pair(data_.DispStartPoint, data_.DispEndPoint), std::pair(990, 1000));
  EXPECT_EQ(std::pair(ab_->A(), ab_->B()), std::pair(995, 999));
}

}  // namespace
}  // namespace accelog::testing
