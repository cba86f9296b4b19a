// The parameter dialog without widgets: opening, the clock, option buttons,
// keypad ranges, the OK rows with their codes, Cancel and the file.
#include "params/parameter_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/program_folder.h"
#include "params/keypad.h"
#include "params/machine_parameter.h"
#include "keypad_script.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using ::testing::ElementsAre;

constexpr ClockReading kAfternoon = {2026, 5, 14, 14, 35, 20};

class ParameterDialogTest : public testing::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ResetKeypad();
    ApplyDefaultParameters();
    auto& p = MachineParameter;
    p.LanguageFlag = 1;
    p.ParameterDialogMode = 0;
    p.ParameterAccepted = false;
    p.WorkMode = 2;  // timing: the start and limit frames take clicks
    // The record's clock fields as the form's, so rows that fail keep
    // values that do not depend on the day the test runs.
    p.CurYear = p.StartYear = 26;
    p.CurMonth = p.StartMonth = 5;
    p.CurDay = p.StartDay = 14;
    p.CurHour = 14;
    p.StartHour = 15;
    p.CurMinute = 35;
    p.StartMinute = 0;
    p.CurSecond = 20;
    p.StartSecond = 0;
  }

  SetMachineParameterForm Open(int16_t mode = 0, ClockReading now = kAfternoon) {
    MachineParameter.ParameterDialogMode = mode;
    SetMachineParameterForm form;
    OpenParameterForm(form, now);
    return form;
  }

  std::string File() const { return ProgramFile(kIntegerFileName); }
  bool FileWritten() const {
    std::error_code ec;
    return std::filesystem::file_size(File(), ec) > 0 && !ec;
  }

  testing::FakePorts ports_;
};

TEST_F(ParameterDialogTest, FullLayoutOpensFromTheRecordAndTheClock) {
  auto& p = MachineParameter;
  p.RecordInterval = 1234;
  p.IntervalUnit = 2;
  p.LedCycle = 3;
  p.CriticalX = 4;
  p.CriticalY = 5;
  p.CriticalZ = 6;
  p.RecordMode = 1;
  p.LimitTime = 77;
  p.ComPort = 9;
  const auto f = Open();
  EXPECT_EQ(f.Text[1], "4");  // not filled from ComPort
  EXPECT_EQ(f.Text[2], "1234");
  EXPECT_TRUE(f.Option[3]);
  EXPECT_FALSE(f.Option[1] || f.Option[2] || f.Option[4]);
  EXPECT_EQ(f.Text[3], "3");
  EXPECT_EQ(f.Text[4] + f.Text[5] + f.Text[6], "456");
  EXPECT_TRUE(f.Option[6]);
  EXPECT_TRUE(f.CriticalEnabled);
  EXPECT_TRUE(f.Option[9]);
  EXPECT_TRUE(f.FrameEnabled[7] && f.FrameEnabled[8]);
  EXPECT_EQ(f.Text[7] + "/" + f.Text[8] + "/" + f.Text[9] + " " + f.Text[10] + ":" + f.Text[11] +
                ":" + f.Text[12],
            "26/5/14 14:35:20");
  EXPECT_EQ(f.Text[19], "77");
  EXPECT_EQ(f.Label18, "Limit Time(Unite:Minute)");
  EXPECT_FALSE(f.OptionVisible[10] || f.OptionVisible[11]);
  for (bool v : f.FrameVisible) EXPECT_TRUE(v);
  EXPECT_TRUE(f.Timer1Enabled);

  p.RecordMode = 0;
  p.WorkMode = 1;
  const auto g = Open();
  EXPECT_TRUE(g.Option[5]);
  EXPECT_FALSE(g.CriticalEnabled);
  EXPECT_TRUE(g.Option[8]);
  EXPECT_FALSE(g.FrameEnabled[7] || g.FrameEnabled[8]);
  EXPECT_FALSE(ValueBoxClickable(g, 4));
  EXPECT_FALSE(ValueBoxClickable(g, 13));
  EXPECT_FALSE(ValueBoxClickable(g, 19));
  EXPECT_TRUE(ValueBoxClickable(g, 3));
}

TEST_F(ParameterDialogTest, StartTimeIsTheNextFullHourExceptInTheLastHour) {
  const auto f = Open(0, {2026, 5, 14, 14, 35, 20});
  EXPECT_EQ(f.Text[13] + "/" + f.Text[14] + "/" + f.Text[15], "26/5/14");
  EXPECT_EQ(f.Text[16] + ":" + f.Text[17] + ":" + f.Text[18], "15:0:0");
  const auto g = Open(0, {2026, 12, 31, 23, 35, 42});
  EXPECT_EQ(g.Text[13] + "/" + g.Text[14] + "/" + g.Text[15], "26/12/31");
  EXPECT_EQ(g.Text[16] + ":" + g.Text[17] + ":" + g.Text[18], "23:35:42");
}

TEST_F(ParameterDialogTest, LiveClockMovesCurrentTimeAndStartDateOnly) {
  auto f = Open();
  f.Text[16] = "18";
  f.Text[13] = "30";
  TickParameterClock(f, {2026, 5, 15, 0, 0, 3});
  EXPECT_EQ(f.Text[9] + " " + f.Text[10] + ":" + f.Text[11] + ":" + f.Text[12], "15 0:0:3");
  EXPECT_EQ(f.Text[13] + "/" + f.Text[15], "26/15");
  EXPECT_EQ(f.Text[16] + ":" + f.Text[17] + ":" + f.Text[18], "18:0:0");
  CancelParameterForm(f);
  TickParameterClock(f, {2026, 5, 15, 0, 0, 9});
  EXPECT_EQ(f.Text[12], "3");  // the timer stopped with the window
}

TEST_F(ParameterDialogTest, RealTimeLayoutHidesTheLoggerFrames) {
  auto& p = MachineParameter;
  p.RecordInterval = 300;
  p.IntervalUnit = 3;
  p.LimitTime = 12;
  p.LimitKind = 1;
  auto f = Open(1);
  for (int i : {0, 2, 3, 4, 5, 6, 7}) EXPECT_FALSE(f.FrameVisible[static_cast<size_t>(i)]) << i;
  EXPECT_TRUE(f.FrameVisible[1] && f.FrameVisible[8] && f.FrameEnabled[8]);
  EXPECT_FALSE(f.OptionVisible[3] || f.OptionVisible[4]);
  EXPECT_TRUE(f.OptionVisible[10] && f.OptionVisible[11]);
  EXPECT_EQ(f.Text[2], "500");  // below the real-time minimum
  EXPECT_TRUE(f.Option[1]);
  EXPECT_TRUE(f.Option[11]);
  EXPECT_EQ(f.Label18, "number of times");
  EXPECT_EQ(f.Text[19], "12");
  EXPECT_TRUE(f.Text[4].empty());  // logger fields are not filled

  p.RecordInterval = 800;
  p.IntervalUnit = 1;
  p.LimitKind = 0;
  f = Open(1);
  EXPECT_EQ(f.Text[2], "800");
  EXPECT_TRUE(f.Option[2]);
  EXPECT_TRUE(f.Option[10]);
  EXPECT_EQ(f.Label18, "Limit Time(Unite:Minute)");
  ClickOption(f, 11);
  EXPECT_EQ(f.Label18, "number of times");
  ClickOption(f, 10);
  EXPECT_EQ(f.Label18, "Limit Time(Unite:Minute)");
  ClickOption(f, 3);  // hidden
  EXPECT_TRUE(f.Option[2]);

  const auto other = Open(2);
  for (int i = 2; i <= 19; ++i) EXPECT_TRUE(other.Text[static_cast<size_t>(i)].empty()) << i;
}

TEST_F(ParameterDialogTest, OptionButtonRules) {
  auto f = Open();
  f.Text[2] = "30";
  ClickOption(f, 1);
  EXPECT_EQ(f.Text[2], "50");
  f.Text[2] = "120";
  ClickOption(f, 1);
  EXPECT_EQ(f.Text[2], "120");
  f.Text[2] = "32767";
  ClickOption(f, 1);
  EXPECT_EQ(f.Text[2], "50");
  for (int o : {2, 3, 4}) {
    f.Text[2] = "999";
    ClickOption(f, o);
    EXPECT_EQ(f.Text[2], "1");
    EXPECT_TRUE(f.Option[static_cast<size_t>(o)]);
    EXPECT_FALSE(f.Option[1]);
  }

  // The record mode reaches the record at once, before OK.
  ClickOption(f, 6);
  EXPECT_EQ(MachineParameter.RecordMode, 1);
  EXPECT_TRUE(f.CriticalEnabled);
  ClickOption(f, 5);
  EXPECT_EQ(MachineParameter.RecordMode, 0);
  EXPECT_FALSE(f.CriticalEnabled);

  ClickOption(f, 7);
  EXPECT_FALSE(f.FrameEnabled[7] || f.FrameEnabled[8]);
  ClickOption(f, 9);
  EXPECT_TRUE(f.FrameEnabled[7] && f.FrameEnabled[8]);
  ClickOption(f, 8);
  EXPECT_FALSE(f.FrameEnabled[7] || f.FrameEnabled[8]);
  ClickOption(f, 10);  // hidden in the full layout
  EXPECT_FALSE(f.Option[10]);
}

TEST_F(ParameterDialogTest, KeypadRangesPerBox) {
  auto f = Open();
  auto range = [&](int box) {
    const auto r = KeypadRangeFor(f, box);
    return r ? std::to_string(r->Minimum) + ".." + std::to_string(r->Maximum) +
                   (r->Caption ? std::string(" ") + r->Caption : "")
             : std::string("none");
  };
  ClickOption(f, 1);
  EXPECT_EQ(range(2), "50..32767");
  ClickOption(f, 3);
  EXPECT_EQ(range(2), "1..32767");
  EXPECT_EQ(range(3), "1..30");
  EXPECT_EQ(range(5), "1..16");
  EXPECT_EQ(range(13), "13..30 Year");
  EXPECT_EQ(range(14), "1..12 Month");
  EXPECT_EQ(range(15), "1..31 Day");
  EXPECT_EQ(range(16), "0..23 Hour");
  EXPECT_EQ(range(17), "0..59 Minute");
  EXPECT_EQ(range(18), "0..59 Second");
  EXPECT_EQ(range(19), "1..32767");
  EXPECT_EQ(range(7), "none");
  EXPECT_EQ(range(1), "none");

  f = Open(1);
  ClickOption(f, 1);
  EXPECT_EQ(range(2), "500..32767");
  ClickOption(f, 2);
  EXPECT_EQ(range(2), "1..32767");
  EXPECT_EQ(range(19), "1..30000");
}

TEST_F(ParameterDialogTest, LimitRangeFollowsTheIntervalTypedSoFar) {
  auto f = Open();
  ClickOption(f, 1);
  f.Text[2] = "100";
  ports_.keypad.Cancel();
  ClickValueBox(f, 19);
  EXPECT_EQ(MachineParameter.RecordInterval, 100);  // set even though cancelled
  ASSERT_EQ(ports_.keypad.shown.size(), 1u);
  EXPECT_EQ(ports_.keypad.shown[0].Text2, "546");
  EXPECT_EQ(ports_.keypad.shown[0].Text3, "1");
  EXPECT_EQ(ports_.keypad.shown[0].Text4, "0");
  EXPECT_EQ(ports_.keypad.shown[0].Text1, f.Text[19]);

  // Long millisecond intervals stop at the 16-bit limit.
  f.Text[2] = "10000";
  ClickValueBox(f, 19);
  EXPECT_EQ(ports_.keypad.shown.back().Text2, "32767");

  ClickOption(f, 2);
  f.Text[2] = "5";
  ClickValueBox(f, 19);
  EXPECT_EQ(ports_.keypad.shown.back().Text2, "27300");
  f.Text[2] = "7";
  ClickValueBox(f, 19);
  EXPECT_EQ(ports_.keypad.shown.back().Text2, "32767");

  ClickOption(f, 4);
  MachineParameter.RecordInterval = 42;
  ClickValueBox(f, 19);  // hour: the interval is not taken from the box
  EXPECT_EQ(MachineParameter.RecordInterval, 42);
}

TEST_F(ParameterDialogTest, KeypadValueGoesBackIntoTheClickedBox) {
  auto f = Open();
  ports_.keypad.Enter("16");
  ClickValueBox(f, 16);
  EXPECT_EQ(ports_.keypad.shown[0].Caption, "Hour");
  EXPECT_EQ(ports_.keypad.shown[0].Text1, "15");
  EXPECT_EQ(f.Text[16], "16");

  ports_.keypad.Enter("99");  // refused by the keypad, then the user cancels
  ports_.keypad.Cancel();
  ClickValueBox(f, 17);
  EXPECT_EQ(f.Text[17], "0");
  EXPECT_EQ(ports_.ui.messages, std::vector<std::string>{"Data is too big"});
  EXPECT_EQ(ports_.keypad.shown.back().Caption, "Minute");

  ClickValueBox(f, 7);  // current-time boxes take no clicks
  EXPECT_EQ(ports_.keypad.shown.size(), 2u);

  ports_.keypad.Enter("12.");
  ClickValueBox(f, 3);
  EXPECT_EQ(f.Text[3], "12");
  EXPECT_EQ(ports_.keypad.shown.back().Caption, "Input Data");
}

TEST_F(ParameterDialogTest, OkWithNothingWrongStoresWritesAndCloses) {
  auto f = Open();
  f.Text[1] = "7";
  ASSERT_TRUE(OkParameterForm(f));
  EXPECT_TRUE(ports_.ui.messages.empty());
  EXPECT_TRUE(MachineParameter.ParameterAccepted);
  EXPECT_TRUE(f.Closed);
  EXPECT_FALSE(f.Timer1Enabled);
  const auto& p = MachineParameter;
  EXPECT_EQ(p.ComPort, 7);
  EXPECT_EQ(p.WorkMode, 2);
  EXPECT_EQ(p.StartHour, 15);

  const int16_t recs[24] = {7,  500, 0, 0, 16, 16, 16, 0, 2, 26, 5, 14,
                            14, 35,  20, 26, 5, 14, 15, 0, 0, 100, 0, 0};
  std::vector<unsigned char> want;
  for (int16_t v : recs) {
    want.push_back(static_cast<unsigned char>(v & 0xFF));
    want.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
  }
  EXPECT_EQ(testing::ReadBytes(File()), want);
}

struct BadEntry {
  int box;
  const char* text;
  int code;
};

TEST_F(ParameterDialogTest, EachRowReportsItsCode) {
  const BadEntry cases[] = {
      {2, "32767", 3}, {2, "0", 3},   {2, "", 3},    {3, "17", 5},   {3, "-1", 5},
      {4, "0", 6},     {5, "17", 7},  {6, "x", 8},   {7, "12", 9},   {7, "51", 9},
      {8, "13", 10},   {9, "32", 11}, {10, "24", 12}, {11, "60", 13}, {12, "60", 14},
      {13, "51", 15},  {14, "0", 16}, {15, "0", 17}, {16, "24", 18}, {17, "60", 19},
      {18, "60", 19},  {19, "x", 20}, {13, "28", 22}, {13, "25", 22}, {16, "14", 24},
  };
  for (const auto& c : cases) {
    auto f = Open();
    ports_.ui.messages.clear();
    f.Text[static_cast<size_t>(c.box)] = c.text;
    EXPECT_FALSE(OkParameterForm(f)) << c.box << " " << c.text;
    EXPECT_EQ(ports_.ui.messages, std::vector<std::string>{"Data is erro!!=" + std::to_string(c.code)})
        << "Text" << c.box << " = '" << c.text << "'";
    EXPECT_EQ(ports_.ui.icons.back(), MessageIcon::Exclamation);
    EXPECT_FALSE(f.Closed);
    EXPECT_FALSE(MachineParameter.ParameterAccepted);
  }
  EXPECT_FALSE(FileWritten());
}

TEST_F(ParameterDialogTest, PortBoxHasItsOwnMessagesFirst) {
  for (const char* text : {"0", "50", "-3", "0.5"}) {
    auto f = Open();
    ports_.ui.messages.clear();
    f.Text[1] = text;
    EXPECT_FALSE(OkParameterForm(f));
    EXPECT_THAT(ports_.ui.messages, ElementsAre("Port is erro!", "Data is erro!!=1")) << text;
  }
  auto f = Open();
  ports_.ui.messages.clear();
  f.Text[1] = "COM4";
  f.Text[2] = "0";
  EXPECT_FALSE(OkParameterForm(f));
  EXPECT_THAT(ports_.ui.messages, ElementsAre("Port is erro!!", "Data is erro!!=3"));
  for (auto icon : ports_.ui.icons) EXPECT_EQ(icon, MessageIcon::Exclamation);

  MachineParameter.LanguageFlag = 0;
  f = Open();
  ports_.ui.messages.clear();
  f.Text[1] = "";
  EXPECT_FALSE(OkParameterForm(f));
  EXPECT_THAT(ports_.ui.messages, ElementsAre("端口错误!", "数据有错误!=2"));
  ports_.ui.messages.clear();
  f.Text[1] = "49.9";
  EXPECT_TRUE(OkParameterForm(f));
  EXPECT_EQ(MachineParameter.ComPort, 49);
}

TEST_F(ParameterDialogTest, LastFailingRowWinsAndPassingRowsAreStored) {
  auto f = Open();
  f.Text[3] = "7";
  f.Text[4] = "0";   // code 6
  f.Text[6] = "99";  // code 8
  f.Text[9] = "13";
  EXPECT_FALSE(OkParameterForm(f));
  EXPECT_EQ(ports_.ui.messages.back(), "Data is erro!!=8");
  EXPECT_EQ(MachineParameter.LedCycle, 7);
  EXPECT_EQ(MachineParameter.CurDay, 13);
  EXPECT_EQ(MachineParameter.CriticalX, 16);
  EXPECT_FALSE(FileWritten());
  EXPECT_FALSE(MachineParameter.ParameterAccepted);
}

TEST_F(ParameterDialogTest, PointsCheckOnlyForMilliseconds) {
  auto f = Open();
  f.Text[2] = "50";
  for (auto [limit, ok] : {std::pair{"60", true}, std::pair{"250", true}, std::pair{"251", false}}) {
    ports_.ui.messages.clear();
    f.Closed = false;
    f.Text[19] = limit;
    EXPECT_EQ(OkParameterForm(f), ok) << limit;
    if (!ok) {
      EXPECT_EQ(ports_.ui.messages, std::vector<std::string>{"Data is erro!!=21"});
    }
  }
  f = Open();
  ClickOption(f, 2);  // seconds: no points check
  f.Text[19] = "32767";
  EXPECT_TRUE(OkParameterForm(f));
  EXPECT_EQ(MachineParameter.LimitTime, 32767);
  EXPECT_EQ(MachineParameter.IntervalUnit, 1);
}

TEST_F(ParameterDialogTest, LimitOutsideItsRangeKeepsTheOldValueSilently) {
  MachineParameter.LimitTime = 55;
  for (const char* text : {"0", "40000", "-2"}) {
    auto f = Open();
    ports_.ui.messages.clear();
    f.Text[19] = text;
    EXPECT_TRUE(OkParameterForm(f)) << text;
    EXPECT_EQ(MachineParameter.LimitTime, 55);
  }
}

TEST_F(ParameterDialogTest, StartDelayNeedsTenSecondsWithinTheSameYear) {
  auto f = Open();
  f.Text[16] = "14";
  f.Text[17] = "35";
  f.Text[18] = "29";
  EXPECT_FALSE(OkParameterForm(f));
  EXPECT_EQ(ports_.ui.messages.back(), "Data is erro!!=24");
  f.Text[18] = "30";
  EXPECT_TRUE(OkParameterForm(f));

  // Next year: an earlier date passes, there is no delay check.
  f = Open();
  f.Text[13] = "27";
  f.Text[14] = "1";
  f.Text[15] = "1";
  f.Text[16] = "0";
  ports_.ui.messages.clear();
  EXPECT_TRUE(OkParameterForm(f));
  // The start date follows the clock, so the next year is reached only
  // after midnight of the 31st December.
  f = Open(0, {2026, 12, 31, 23, 59, 55});
  TickParameterClock(f, {2027, 1, 1, 0, 0, 1});
  EXPECT_EQ(f.Text[13], "27");
}

TEST_F(ParameterDialogTest, RealTimeOkChecksIntervalAndLimitOnly) {
  auto f = Open(1);
  MachineParameter.CurYear = 99;  // not examined in this layout
  f.Text[2] = "32767";
  ClickOption(f, 2);
  f.Text[2] = "32767";
  ClickOption(f, 11);
  f.Text[19] = "250";
  ASSERT_TRUE(OkParameterForm(f));
  const auto& p = MachineParameter;
  EXPECT_EQ(p.RecordInterval, 32767);
  EXPECT_EQ(p.IntervalUnit, 1);
  EXPECT_EQ(p.LimitTime, 250);
  EXPECT_EQ(p.LimitKind, 1);
  EXPECT_EQ(p.WorkMode, 1);
  EXPECT_TRUE(p.ParameterAccepted);

  f = Open(1);
  f.Text[2] = "32768";
  EXPECT_FALSE(OkParameterForm(f));
  EXPECT_EQ(ports_.ui.messages.back(), "Data is erro!!=3");
}

TEST_F(ParameterDialogTest, CancelKeepsWhatClicksAlreadyWrote) {
  auto f = Open();
  ClickOption(f, 6);
  ClickOption(f, 1);
  f.Text[2] = "80";
  ports_.keypad.Cancel();
  ClickValueBox(f, 19);
  MachineParameter.ParameterAccepted = true;
  CancelParameterForm(f);
  EXPECT_TRUE(f.Closed);
  EXPECT_FALSE(MachineParameter.ParameterAccepted);
  EXPECT_EQ(MachineParameter.RecordMode, 1);
  EXPECT_EQ(MachineParameter.RecordInterval, 80);
  EXPECT_FALSE(FileWritten());
}

}  // namespace
}  // namespace accelog
