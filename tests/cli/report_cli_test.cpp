// accelog-cli report, judged on the PDF it writes: its texts through
// pdftotext, its paper through pdfinfo, and a failed write.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/kvx_maker.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

class ReportCli : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_DATA_HOME", folder_.path().c_str(), 1);
    // Lying flat, with 45 single-point shocks on X of 60 + 2k counts
    // (234 to 577.2 mg) at points 51 + 60k: V strays less than 200 mg.
    std::vector<KvxSample> samples(3000, KvxSample{1, -1, 256});
    for (int k = 0; k < 45; ++k) samples[static_cast<size_t>(50 + 60 * k)].x = static_cast<int16_t>(60 + 2 * k);
    ASSERT_TRUE(WriteKvx(kvx_, samples));
  }
  RunResult Report(std::vector<std::string> args) {
    args.insert(args.begin(), {ACCELOG_CLI, "report"});
    return RunProgram(args);
  }
  std::string Text(const std::string& pdf) { return RunProgram({"/usr/bin/pdftotext", "-layout", pdf, "-"}).out; }

  TempFolder folder_;
  const std::string kvx_ = folder_.File("shocks.kvx"), pdf_ = folder_.File("report.pdf");
};

TEST_F(ReportCli, WritesTheHeadTheTablesAndTheRestOfTheEvents) {
  const RunResult r = Report({kvx_, pdf_, "--threshold", "200"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, pdf_ + ": 2 pages, 45 events at 200 mg, 40 listed\n");
  const std::string text = Text(pdf_);
  for (const char* want : {"shocks.kvx", "Interval", "500 millisecond", "3000 (3000 not all-zero)",
                           "1499.500 s (0:24:59.500)", "200 mg from the channel's mean", "AZ deg",
                           "Events: 45, the 40 largest", "and 5 more events", "Page 2 of 2",
                           // the largest: point 51 + 60 x 44 = 2691, 1345 s after 9:05:07
                           "2013-05-07 09:27:32.000"}) {
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
  }
  // The default threshold, on Letter paper.
  const RunResult letter = Report({kvx_, pdf_, "--paper", "Letter"});
  ASSERT_EQ(letter.code, 0) << letter.err;
  EXPECT_NE(Text(pdf_).find("(default: half the largest distance)"), std::string::npos);
  EXPECT_NE(RunProgram({"/usr/bin/pdfinfo", pdf_}).out.find("612 x 792 pts (letter)"), std::string::npos);
}

TEST_F(ReportCli, AFailedWriteNamesTheFileAndLeavesNothing) {
  const std::string nowhere = folder_.File("no/such/folder/r.pdf");
  const RunResult r = Report({kvx_, nowhere});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(nowhere + ": No such file or directory"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(pdf_));
}

}  // namespace
}  // namespace accelog::testing
