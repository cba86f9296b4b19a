// accelog-cli render, run as the program it is.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <string>

#include "support/kvx_maker.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

struct CliRun {
  int code;
  std::string out;
};

CliRun RenderCli(const std::string& args) {
  const std::string command = std::string("QT_QPA_PLATFORM=offscreen ") + ACCELOG_CLI + " render " + args + " 2>/dev/null";
  CliRun r{-1, {}};
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) r.out += buf;
  const int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(RenderCli, DrawsTheChartWithTheCursorReadOutAndRefusesBadRequests) {
  TempFolder folder;
  const std::string file = folder.File("run.kvx"), png = folder.File("chart.png");
  ASSERT_TRUE(WriteKvx(file, RealisticSamples(200)));  // one point a column
  const CliRun r = RenderCli(file + " " + png + " --cursor 50 --scale 2");
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\nNo: 50 "), std::string::npos) << r.out;
  const QImage image(QString::fromStdString(png));
  // 18000 x 9400 twips at the offscreen screen's 96 DPI, doubled; the
  // window's back colour in its corner.
  EXPECT_EQ(image.size(), QSize(2400, 1254));
  EXPECT_EQ(image.pixelColor(4, image.height() - 4), QColor(236, 233, 216));
  // and refuses what it cannot show.
  for (auto [args, code] : {std::pair{file + " " + png + " --spectrum --all-curves", 64},
                            {folder.File("missing.kvx") + " " + png, 1},
                            {file + " " + png + " --start 200 --end 100", 64},
                            {file + " " + png + " --scale 2abc", 64},
                            {file + " " + png + " --start 5x", 64},
                            {file, 64}}) {
    EXPECT_EQ(RenderCli(args).code, code) << args;
  }
}

}  // namespace
}  // namespace accelog::testing
