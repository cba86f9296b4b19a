// accelog-cli render, run as the program it is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "charts/kvx_maker.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

int RunCli(const std::string& args) {
  const std::string command = std::string("QT_QPA_PLATFORM=offscreen ") + ACCELOG_CLI + " render " + args + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

uint32_t BigEndian(const std::vector<unsigned char>& b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

TEST(RenderCli, WritesThePngOfTheChartWindow) {
  TempFolder folder;
  const std::string file = folder.File("run.kvx"), png = folder.File("chart.png");
  ASSERT_TRUE(WriteKvx(file, RealisticSamples(2000, 700, 50)));
  ASSERT_EQ(RunCli(file + " " + png + " --start 100 --end 600 --all-curves --cursor 50 --scale 2"), 0);
  const auto bytes = ReadBytes(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes[1], 'P');
  // 18000 x 9400 twips at the offscreen screen's 96 DPI, doubled.
  EXPECT_EQ(BigEndian(bytes, 16), 2400u);
  EXPECT_EQ(BigEndian(bytes, 20), 1254u);
}

TEST(RenderCli, RefusesWhatItCannotShow) {
  TempFolder folder;
  const std::string file = folder.File("run.kvx"), png = folder.File("chart.png");
  ASSERT_TRUE(WriteKvx(file, RealisticSamples(300)));
  EXPECT_EQ(RunCli(file + " " + png + " --spectrum --all-curves"), 64);
  EXPECT_EQ(RunCli(folder.File("missing.kvx") + " " + png), 2);
  EXPECT_EQ(RunCli(file + " " + png + " --start 200 --end 100"), 64);
  EXPECT_EQ(RunCli(file + " " + png + " --start x"), 64);
  EXPECT_EQ(RunCli(file), 64);
}

}  // namespace
}  // namespace accelog::testing
