// The full layout filled from command-line words and judged by the OK rows.
#include "params/parameter_entries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/program_folder.h"
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

TEST_F(ParameterEntriesTest, ClockTextsParseStrictly) {
  const auto c = ParseClockText("2027-1-2 3:04:05");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Year, 2027);
  EXPECT_EQ(c->Month, 1);
  EXPECT_EQ(c->Second, 5);
  for (const char* bad : {"", "27-01-02 03:04:05", "2027-01-02", "2027-01-02T03:04:05",
                          "2027-01-02 03:04:05 ", "2027-001-02 03:04:05"}) {
    EXPECT_FALSE(ParseClockText(bad)) << bad;
  }
}

TEST_F(ParameterEntriesTest, DefaultsAreTheDialogsOpening) {
  const auto f = Fill({});
  EXPECT_EQ(f.Text[1], "3");  // the stored port, not the dialog's "4"
  EXPECT_EQ(f.Text[2], "500");
  EXPECT_TRUE(f.Option[1] && f.Option[5] && f.Option[7]);
  EXPECT_EQ(f.Text[7] + "-" + f.Text[8] + "-" + f.Text[9] + " " + f.Text[10] + ":" + f.Text[11] +
                ":" + f.Text[12],
            "26-5-14 14:35:20");
  EXPECT_EQ(f.Text[16] + ":" + f.Text[17] + ":" + f.Text[18], "15:0:0");

  // The start follows the clock being set, not the computer's.
  ParameterEntries e;
  e.Clock = "2030-12-31 23:10:09";
  const auto g = Fill(e);
  EXPECT_EQ(g.Text[7], "30");
  EXPECT_EQ(g.Text[13] + "-" + g.Text[14] + "-" + g.Text[15] + " " + g.Text[16] + ":" + g.Text[17] +
                ":" + g.Text[18],
            "31-1-1 0:0:0");  // the day's last hour starts at the next midnight
}

TEST_F(ParameterEntriesTest, EntriesLandInTheirBoxesAndButtons) {
  ParameterEntries e;
  e.Port = "7", e.Interval = "2", e.Unit = "min", e.Led = "5", e.Critical = "1,2,3";
  e.RecordMode = "critical", e.WorkMode = "timing", e.Start = "2026-05-14 18:30:00", e.Limit = "900";
  const auto f = Fill(e);
  EXPECT_EQ(f.Text[2], "2");  // choosing the unit does not reset the interval
  EXPECT_TRUE(f.Option[3] && !f.Option[1]);
  EXPECT_EQ(f.Text[4] + f.Text[5] + f.Text[6], "123");
  EXPECT_TRUE(f.Option[6] && !f.Option[5]);
  EXPECT_TRUE(f.Option[9] && !f.Option[7]);
  EXPECT_EQ(f.Text[16] + ":" + f.Text[17], "18:30");
  ASSERT_EQ(AcceptFormWithoutDialog(f), 0);
  const auto& p = MachineParameter;
  EXPECT_EQ(std::vector<int>({p.ComPort, p.IntervalUnit, p.RecordMode, p.WorkMode, p.CriticalZ, p.LimitTime, p.StartHour}),
            std::vector<int>({7, 2, 1, 2, 3, 900, 18}));
  EXPECT_EQ(testing::ReadBytes(ProgramFile(kIntegerFileName)).size(), 48u);
}

TEST_F(ParameterEntriesTest, WordsThatNameNothingAreRefusedBeforeAnyCheck) {
  const std::pair<std::optional<std::string> ParameterEntries::*, const char*> bad[] = {
      {&ParameterEntries::Unit, "sec"},
      {&ParameterEntries::RecordMode, "fast"},
      {&ParameterEntries::WorkMode, "Timing"},
      {&ParameterEntries::Critical, "1,2"},
      {&ParameterEntries::Critical, "1,2,3,4"},
      {&ParameterEntries::Clock, "now"},
      {&ParameterEntries::Start, "2026-05-14"},
  };
  for (const auto& [field, word] : bad) {
    ParameterEntries e;
    e.*field = word;
    Fill(e, false);
    EXPECT_NE(error_.find(word), std::string::npos) << error_;
  }
}

TEST_F(ParameterEntriesTest, RefusedEntriesChangeNeitherRecordNorFile) {
  ParameterEntries e;
  e.Interval = "50";
  e.Led = "4";
  e.Limit = "251";
  const auto before = MachineParameter;
  EXPECT_EQ(AcceptFormWithoutDialog(Fill(e)), 21);
  EXPECT_EQ(MachineParameter.RecordInterval, before.RecordInterval);
  EXPECT_EQ(MachineParameter.LedCycle, before.LedCycle);
  EXPECT_FALSE(std::filesystem::exists(ProgramFile(kIntegerFileName)));

  e = {};
  e.Port = "0";
  e.Start = "2026-05-14 14:35:29";
  EXPECT_EQ(AcceptFormWithoutDialog(Fill(e)), 24);
  EXPECT_EQ(ports_.ui.messages, std::vector<std::string>{"Port is erro!"});
  EXPECT_FALSE(std::filesystem::exists(ProgramFile(kIntegerFileName)));
}

}  // namespace
}  // namespace accelog
