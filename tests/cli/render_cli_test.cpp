// accelog-cli render, run as the program it is.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "support/kvx_maker.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

RunResult RenderCli(std::vector<std::string> args) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  args.insert(args.begin(), {ACCELOG_CLI, "render"});
  return RunProgram(std::move(args));
}

TEST(RenderCli, DrawsTheChartWithTheCursorReadOutAndRefusesBadRequests) {
  TempFolder folder;
  const std::string file = folder.File("run.kvx"), png = folder.File("chart.png");
  ASSERT_TRUE(WriteKvx(file, RealisticSamples(200)));  // one point a column
  const RunResult r = RenderCli({file, png, "--cursor", "50", "--scale", "2"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\nNo: 50 "), std::string::npos) << r.out;
  const QImage image(QString::fromStdString(png));
  // 18000 x 9400 twips at the offscreen screen's 96 DPI, doubled; the
  // window's back colour in its corner.
  EXPECT_EQ(image.size(), QSize(2400, 1254));
  EXPECT_EQ(image.pixelColor(4, image.height() - 4), QColor(236, 233, 216));
  // and refuses what it cannot show.
  using Args = std::vector<std::string>;
  for (auto [args, code] : {std::pair{Args{file, png, "--spectrum", "--all-curves"}, 64},
                            {Args{folder.File("missing.kvx"), png}, 1},
                            {Args{file, png, "--start", "200", "--end", "100"}, 64},
                            {Args{file, png, "--scale", "2abc"}, 64},
                            {Args{file, png, "--start", "5x"}, 64},
                            {Args{file}, 64}}) {
    EXPECT_EQ(RenderCli(args).code, code) << ::testing::PrintToString(args);
  }
}

}  // namespace
}  // namespace accelog::testing
