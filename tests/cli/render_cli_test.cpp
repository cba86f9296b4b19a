// accelog-cli render, run as the program it is.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "support/kvx_maker.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

TEST(RenderCli, DrawsTheChartWithTheCursorReadOut) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TempFolder folder;
  const std::string file = folder.File("run.kvx"), png = folder.File("chart.png");
  ASSERT_TRUE(WriteKvx(file, RealisticSamples(200)));  // one point a column
  const RunResult r = RunProgram({ACCELOG_CLI, "render", file, png, "--cursor", "50", "--scale", "2"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\nNo: 50 "), std::string::npos) << r.out;
  const QImage image(QString::fromStdString(png));
  // 18000 x 9400 twips at the offscreen screen's 96 DPI, doubled; the
  // window's back colour in its corner.
  EXPECT_EQ(image.size(), QSize(2400, 1254));
  EXPECT_EQ(image.pixelColor(4, image.height() - 4), QColor(236, 233, 216));
}

}  // namespace
}  // namespace accelog::testing
