// accelog-cli print, judged on the PDF it writes: pdfinfo for the page,
// pdftoppm for where the chart lands.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/kvx_maker.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

class PrintCli : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_DATA_HOME", folder_.path().c_str(), 1);
    ASSERT_TRUE(WriteKvx(folder_.File("run.kvx"), RealisticSamples(2000)));
  }
  // accelog-cli print run.kvx out.pdf with the blank-separated options.
  RunResult Print(const std::string& args = "") {
    std::vector<std::string> argv = {ACCELOG_CLI, "print", folder_.File("run.kvx"), pdf_};
    std::istringstream in(args);
    for (std::string a; in >> a;) argv.push_back(a);
    return RunProgram(argv);
  }
  // The painted box of page 1 at 72 dpi (1 pixel = 1/72 inch), from a grey map.
  struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  };
  Box Painted(const std::string& pdf) {
    const std::string base = folder_.File("page");
    RunProgram({"/usr/bin/pdftoppm", "-r", "72", "-gray", "-singlefile", pdf, base});
    std::ifstream in(base + ".pgm", std::ios::binary);
    std::string magic;
    int w = 0, h = 0, max = 0;
    in >> magic >> w >> h >> max;
    in.get();
    Box b;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (in.get() >= 250) continue;
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
      }
    }
    return b;
  }
  // pdfinfo's page size in points, rounded as it prints it.
  std::pair<double, double> PageSize(const std::string& pdf) {
    const std::string info = RunProgram({"/usr/bin/pdfinfo", pdf}).out;
    double w = 0, h = 0;
    std::sscanf(info.c_str() + std::min(info.find("Page size:"), info.size()), "Page size: %lf x %lf", &w, &h);
    return {w, h};
  }
  static int Points(double mm) { return static_cast<int>(std::lround(mm / 25.4 * 72)); }

  TempFolder folder_;
  const std::string pdf_ = folder_.File("out.pdf");
};

TEST_F(PrintCli, LaysTheChartOnThePageAtTheMarginsAndScale) {
  ASSERT_EQ(Print("--scale 0.5").code, 0);  // A4 horizontal, margins 4/5/50/10
  EXPECT_EQ(PageSize(pdf_), std::make_pair(842.0, 595.0));
  const Box half = Painted(pdf_);
  EXPECT_NEAR(half.left, Points(4), 1);
  EXPECT_NEAR(half.top, Points(50), 1);

  ASSERT_EQ(Print("--paper A3 --portrait --margins 20,5,30,10 --start 100 --end 900").code, 0);
  EXPECT_EQ(PageSize(pdf_), std::make_pair(842.0, 1191.0));
  const Box part = Painted(pdf_);
  EXPECT_NEAR(part.left, Points(20), 1);
  EXPECT_NEAR(part.top, Points(30), 1);
  // The stored PictureScale 0.9 against 0.5: the cut-out at 90 % of its size.
  EXPECT_NEAR(part.right - part.left + 1, 1.8 * (half.right - half.left + 1), 3);
  EXPECT_NEAR(part.bottom - part.top + 1, 1.8 * (half.bottom - half.top + 1), 3);

  ASSERT_EQ(Print("--paper 100x150 --landscape --margins 0,0,0,0").code, 0);
  EXPECT_EQ(PageSize(pdf_), std::make_pair(425.0, 283.0));
}

// Stored values the page set-up dialog refuses take their defaults, and print says which.
TEST_F(PrintCli, RefusedStoredPageSetUpTakesTheDefaults) {
  ASSERT_EQ(Print().code, 0);
  const Box defaults = Painted(pdf_);
  std::vector<unsigned char> store(78, 0);
  const int16_t page[9] = {0, 1, -32768, 5, 50, 10, 210, 297, 32700};  // records 31..39
  std::memcpy(&store[60], page, sizeof page);  // little-endian, as the store is
  std::filesystem::create_directories(folder_.File("accelog"));
  WriteBytes(folder_.File("accelog/MPInteger.kvx"), store);
  const std::string err = Print().err;
  EXPECT_NE(err.find("MPInteger.kvx: the page set-up dialog refuses the stored MarginLeft, PictureScalePercent; "
                     "the default is used"),
            std::string::npos)
      << err;
  const Box b = Painted(pdf_);
  EXPECT_EQ(std::make_pair(b.left, b.right), std::make_pair(defaults.left, defaults.right));
}

}  // namespace
}  // namespace accelog::testing
