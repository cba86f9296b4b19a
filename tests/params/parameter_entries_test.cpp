// The full layout filled from command-line words and judged by the OK rows.
#include "params/parameter_entries.h"

#include <gtest/gtest.h>

#include "keypad_script.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

constexpr ClockReading kNow = {2026, 5, 14, 14, 35, 20};

class ParameterEntriesTest : public testing::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ApplyDefaultParameters();
    MachineParameter.LanguageFlag = 1;
    MachineParameter.ComPort = 3;
  }
  SetMachineParameterForm Fill(const ParameterEntries& e, bool expect_ok = true) {
    SetMachineParameterForm f;
    error_.clear();
    EXPECT_EQ(FillFormFromEntries(e, kNow, f, error_), expect_ok) << error_;
    return f;
  }
  testing::FakePorts ports_;
  std::string error_;
};

// What the entries store and send, and the codes of refused ones, are
// checked through the command line.
TEST_F(ParameterEntriesTest, DefaultsAreTheStoredPortAndTheClockBeingSet) {
  ParameterEntries e;
  e.Clock = "2030-12-31 23:1:09";
  const auto g = Fill(e);  // the clock text parses with or without leading zeros
  EXPECT_EQ(g.Text[1], "3");  // the stored port, not the dialog's "4"
  EXPECT_EQ(g.Text[7] + " " + g.Text[13] + "-" + g.Text[14] + "-" + g.Text[15] + " " + g.Text[16], "30 31-1-1 0");
}

TEST_F(ParameterEntriesTest, WordsAndClockTextsThatNameNothingAreRefusedBeforeAnyCheck) {
  const std::pair<std::optional<std::string> ParameterEntries::*, const char*> bad[] = {
      {&ParameterEntries::Unit, "sec"},          {&ParameterEntries::RecordMode, "fast"},
      {&ParameterEntries::WorkMode, "Timing"},   {&ParameterEntries::Critical, "1,2"},
      {&ParameterEntries::Critical, "1,2,3,4"},  {&ParameterEntries::Clock, "now"},
      {&ParameterEntries::Start, "2026-05-14"},  {&ParameterEntries::Clock, "27-01-02 03:04:05"},
      {&ParameterEntries::Clock, "2027-01-02T03:04:05"},  {&ParameterEntries::Start, "2027-001-02 03:04:05"},
      {&ParameterEntries::Start, "2027-01-02 03:04:05 "},
  };
  for (const auto& [field, word] : bad) {
    ParameterEntries e;
    e.*field = word;
    Fill(e, false);
    EXPECT_NE(error_.find(word), std::string::npos) << error_;
  }
}

}  // namespace
}  // namespace accelog
