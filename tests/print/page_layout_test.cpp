// The print path's arithmetic: page and zoom, margin dragging, picture moves,
// the scale buttons and the page-setup boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "params/machine_parameter.h"
#include "print/page_setup.h"
#include "print/print_layout.h"

namespace accelog {
namespace {

class PageLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplyDefaultParameters();
    ResetPrintState();
  }
};

TEST_F(PageLayoutTest, PreviewZoomStopsAtTheFirstFit) {
  const PageTwips page = PageSizeTwips(MachineParameter.PaperWidth, MachineParameter.PaperHeight,
                                       MachineParameter.PaperDirection);
  auto fits = [&](double z, int w, int h) { return z * page.Width + 1000 < w && z * page.Height + 1000 < h; };
  for (auto [w, h] : {std::pair{19000, 11800}, {30000, 8203}, {12000, 30000}}) {
    const double z = PreviewZoomFor(page, w, h) + 0.1;
    EXPECT_TRUE(fits(z + 1e-4, w, h)) << w << "x" << h;
    EXPECT_FALSE(fits(z + 0.01 + 1e-4, w, h)) << w << "x" << h;
  }
  EXPECT_GT(PreviewZoomFor(page, 100, 100), 0.0f);  // never a negative page
}

TEST_F(PageLayoutTest, DraggedLinesGiveMillimetresFromTheirOwnEdge) {
  PrintState.PreviewZoom = 0.5f;
  PreviewLayout l{};
  l.PageWidth = 8000;
  l.PageHeight = 6000;
  struct Case {
    MarginLine line;
    double x, y;
    int16_t mm, view;
    const int16_t* kept;
  } cases[] = {
      {MarginLine::Left, 566, 3000, 20, 566, &PrintState.ViewMarginLeft},
      {MarginLine::Right, 8000 - 566, 3000, 20, 566, &PrintState.ViewMarginRight},
      {MarginLine::Top, 100, 283, 10, 283, &PrintState.ViewMarginTop},
      {MarginLine::Down, 100, 6000 - 1417, 50, 1417, &PrintState.ViewMarginDown},
      {MarginLine::Left, -300, 0, 0, 0, &PrintState.ViewMarginLeft},  // off the page: held at its edge
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DragMarginLine(c.line, l, c.x, c.y), c.mm) << c.x << "," << c.y;
    EXPECT_EQ(*c.kept, c.view) << c.x << "," << c.y;
  }
  EXPECT_EQ(MachineParameter.MarginRight, 20);
  // After release the preview lays the line out again from the millimetres.
  MachineParameter.MarginLeft = 20;
  const PreviewLayout again = LayOutPreview(30000, 8203);
  EXPECT_EQ(again.LineLeft, std::lround(20 * 56.6929 * PrintState.PreviewZoom));
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
    MachineParameter.PictureMoveRight = MachineParameter.PictureMoveDown = 0;
    EXPECT_EQ(MovePictureByZone(c.x, c.y, 10000, 6400), c.right != 0 || c.down != 0) << c.x << "," << c.y;
    EXPECT_EQ(MachineParameter.PictureMoveRight, c.right) << c.x << "," << c.y;
    EXPECT_EQ(MachineParameter.PictureMoveDown, c.down) << c.x << "," << c.y;
  }
}

TEST_F(PageLayoutTest, ScaleButtonsStepOneHundredthAndNeverStick) {
  for (int percent = 5; percent <= 300; ++percent) {
    const float s = percent / 100.0f;
    const float up = PictureScaleUp(s), down = PictureScaleDown(s);
    EXPECT_NEAR(up, (percent + 1) / 100.0, 1e-5) << s;
    EXPECT_NEAR(down, (percent - 1) / 100.0, 1e-5) << s;
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
}  // namespace accelog
