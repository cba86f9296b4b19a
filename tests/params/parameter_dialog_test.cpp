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

TEST_F(ParameterDialogTest, LayoutsOpenFromTheRecordAndTheClock) {
  auto& p = MachineParameter;
  p.RecordInterval = 300, p.IntervalUnit = 2, p.LedCycle = 3, p.CriticalX = 4, p.CriticalY = 5, p.CriticalZ = 6;
  p.RecordMode = 1, p.LimitTime = 77, p.ComPort = 9, p.LimitKind = 1;
  const auto f = Open();
  EXPECT_EQ(f.Text[1], "4");  // not filled from ComPort
  EXPECT_EQ(f.Text[2] + " " + f.Text[3] + " " + f.Text[4] + f.Text[5] + f.Text[6] + " " + f.Text[19], "300 3 456 77");
  EXPECT_TRUE(f.Option[3] && f.Option[6] && f.Option[9] && f.CriticalEnabled);
  EXPECT_EQ(f.Text[7] + "/" + f.Text[8] + "/" + f.Text[9] + " " + f.Text[10] + ":" + f.Text[11] + ":" + f.Text[12],
            "26/5/14 14:35:20");
  EXPECT_FALSE(f.OptionVisible[10] || f.OptionVisible[11]);
  EXPECT_TRUE(f.Timer1Enabled);
  p.RecordMode = 0;
  p.WorkMode = 1;
  const auto g = Open();
  EXPECT_FALSE(g.CriticalEnabled || g.FrameEnabled[7] || g.FrameEnabled[8]);
  for (int box : {4, 13, 19}) EXPECT_FALSE(ValueBoxClickable(g, box)) << box;
  EXPECT_TRUE(ValueBoxClickable(g, 3));
  // The real-time layout: an interval below its minimum shows as 500; the
  // logger's own fields stay empty; any other mode fills nothing.
  const auto r = Open(1);
  EXPECT_EQ(r.Text[2] + " " + r.Label18, "500 number of times");
  EXPECT_TRUE(r.Option[1] && r.Option[11] && r.Text[4].empty());
  const auto other = Open(2);
  for (int i = 2; i <= 19; ++i) EXPECT_TRUE(other.Text[static_cast<size_t>(i)].empty()) << i;
}

TEST_F(ParameterDialogTest, StartIsTheNextFullHourAcrossMidnight) {
  const struct {
    ClockReading now;
    const char* start;
  } cases[] = {
      {{2026, 5, 14, 14, 35, 20}, "26/5/14 15:0:0"}, {{2026, 12, 31, 23, 35, 42}, "27/1/1 0:0:0"},
      {{2028, 2, 28, 23, 0, 0}, "28/2/29 0:0:0"},    {{2026, 2, 28, 23, 59, 59}, "26/3/1 0:0:0"},
      {{2026, 4, 30, 23, 10, 0}, "26/5/1 0:0:0"},
  };
  MachineParameter.WorkMode = 0;  // manual: the start boxes cannot be edited
  for (const auto& c : cases) {
    auto f = Open(0, c.now);
    auto start = [&f] {
      return f.Text[13] + "/" + f.Text[14] + "/" + f.Text[15] + " " + f.Text[16] + ":" + f.Text[17] + ":" + f.Text[18];
    };
    EXPECT_EQ(start(), c.start);
    TickParameterClock(f, c.now);  // the live clock keeps a start date ahead of today
    EXPECT_EQ(start(), c.start);
    EXPECT_TRUE(OkParameterForm(f)) << c.start;
  }
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

TEST_F(ParameterDialogTest, OptionButtonRules) {
  auto f = Open();
  for (auto [text, option, after] : {std::tuple{"30", 1, "50"}, {"120", 1, "120"}, {"32767", 1, "50"},
                                     {"999", 2, "1"}, {"999", 4, "1"}}) {
    f.Text[2] = text;
    ClickOption(f, option);
    EXPECT_EQ(f.Text[2], after) << text << " option " << option;
  }
  // The record mode reaches the record at once, before OK.
  ClickOption(f, 6);
  EXPECT_TRUE(MachineParameter.RecordMode == 1 && f.CriticalEnabled);
  ClickOption(f, 5);
  EXPECT_TRUE(MachineParameter.RecordMode == 0 && !f.CriticalEnabled);
  for (auto [option, timing] : {std::pair{7, false}, {9, true}, {8, false}}) {
    ClickOption(f, option);
    EXPECT_EQ(f.FrameEnabled[7] && f.FrameEnabled[8], timing) << option;
  }
  ClickOption(f, 10);  // hidden in the full layout
  EXPECT_FALSE(f.Option[10]);
}

TEST_F(ParameterDialogTest, KeypadRangesPerBox) {
  auto f = Open();
  auto range = [&f](int box) {
    const auto r = KeypadRangeFor(f, box);
    return r ? std::to_string(r->Minimum) + ".." + std::to_string(r->Maximum) + (r->Caption ? std::string(" ") + r->Caption : "")
             : std::string("none");
  };
  ClickOption(f, 1);
  EXPECT_EQ(range(2), "50..32767");
  ClickOption(f, 3);
  const std::pair<int, const char*> full[] = {{2, "1..32767"},     {3, "1..30"},       {5, "1..16"},
                                              {13, "13..30 Year"}, {14, "1..12 Month"}, {15, "1..31 Day"},
                                              {16, "0..23 Hour"},  {17, "0..59 Minute"}, {18, "0..59 Second"},
                                              {19, "1..32767"},    {7, "none"},        {1, "none"}};
  for (auto [box, want] : full) EXPECT_EQ(range(box), want) << box;
  f = Open(1);
  ClickOption(f, 1);
  EXPECT_EQ(range(2), "500..32767");
  ClickOption(f, 2);
  EXPECT_EQ(range(2) + " " + range(19), "1..32767 1..30000");
}

TEST_F(ParameterDialogTest, LimitRangeFollowsTheIntervalTypedSoFar) {
  auto f = Open();
  ClickOption(f, 1);
  ports_.keypad.Cancel();
  for (auto [option, interval, max] : {std::tuple{1, "100", "546"}, {1, "10000", "32767"}, {2, "5", "27300"},
                                       {2, "7", "32767"}}) {
    ClickOption(f, option);
    f.Text[2] = interval;
    ClickValueBox(f, 19);
    EXPECT_EQ(ports_.keypad.shown.back().Text2, max) << interval;
  }
  EXPECT_EQ(MachineParameter.RecordInterval, 7);  // taken from the box even when cancelled
  ClickOption(f, 4);
  MachineParameter.RecordInterval = 42;
  ClickValueBox(f, 19);  // hour: the interval is not taken from the box
  EXPECT_EQ(MachineParameter.RecordInterval, 42);
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
    // The explanation says what the code means, in the active language.
    EXPECT_EQ(ports_.ui.explanations.back(), ParameterErrorExplanation(c.code, 1));
    EXPECT_NE(ParameterErrorExplanation(c.code, 1), ParameterErrorExplanation(c.code, 0));
    EXPECT_FALSE(ParameterErrorExplanation(c.code, 0).empty());
    EXPECT_EQ(ports_.ui.icons.back(), MessageIcon::Exclamation);
    EXPECT_FALSE(f.Closed);
    EXPECT_FALSE(MachineParameter.ParameterAccepted);
  }
  EXPECT_FALSE(FileWritten());
}

TEST_F(ParameterDialogTest, UnwritableFileKeepsTheDialogOpenAndSaysWhy) {
  const struct {
    void (*make)(const std::string& path);
    const char* reason;
  } cases[] = {
      {[](const std::string& p) { std::filesystem::create_directory(p); }, "Is a directory"},
      {[](const std::string& p) { std::filesystem::create_symlink("/dev/full", p); }, "No space left on device"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(File());
    c.make(File());
    auto f = Open();
    ports_.ui.messages.clear();
    EXPECT_FALSE(OkParameterForm(f));
    ASSERT_EQ(ports_.ui.messages.size(), 1u);
    EXPECT_EQ(ports_.ui.messages[0], "The parameters were not saved: " + File() + ": " + c.reason);
    EXPECT_FALSE(f.Closed);
    EXPECT_FALSE(MachineParameter.ParameterAccepted);
  }
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
  ASSERT_TRUE(OkParameterForm(f));
  EXPECT_TRUE(ports_.ui.messages.empty());
  EXPECT_TRUE(MachineParameter.ParameterAccepted && f.Closed && !f.Timer1Enabled);
  EXPECT_EQ(MachineParameter.ComPort, 49);
  EXPECT_EQ(testing::ReadBytes(File()).size(), 48u);
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

TEST_F(ParameterDialogTest, EdgesOfThePointsLimitAndStartChecks) {
  MachineParameter.LimitTime = 55;
  const struct {
    int option;  // clicked first, 0 none
    std::vector<std::pair<int, const char*>> boxes;
    int code;
    int limit;  // LimitTime afterwards
  } cases[] = {
      {0, {{2, "50"}, {19, "60"}}, 0, 60},     // 72000 points
      {0, {{2, "50"}, {19, "250"}}, 0, 250},   // 300000 points
      {0, {{2, "50"}, {19, "251"}}, 21, 251},  // 301200 points
      {2, {{19, "32767"}}, 0, 32767},          // seconds: no points check
      {0, {{19, "0"}}, 0, 55},                 // out of range: kept silently
      {0, {{19, "40000"}}, 0, 55},
      {0, {{16, "14"}, {17, "35"}, {18, "29"}}, 24, 55},  // 9 s after the current time
      {0, {{16, "14"}, {17, "35"}, {18, "30"}}, 0, 55},   // 10 s
      {0, {{13, "27"}, {14, "1"}, {15, "1"}, {16, "0"}}, 0, 55},  // next year: no delay check
  };
  for (const auto& c : cases) {
    MachineParameter.LimitTime = 55;
    auto f = Open();
    if (c.option) ClickOption(f, c.option);
    for (auto [box, text] : c.boxes) f.Text[static_cast<size_t>(box)] = text;
    ports_.ui.messages.clear();
    EXPECT_EQ(OkParameterForm(f), c.code == 0) << c.boxes.back().second;
    EXPECT_EQ(ports_.ui.messages, c.code ? std::vector<std::string>{"Data is erro!!=" + std::to_string(c.code)}
                                         : std::vector<std::string>{});
    EXPECT_EQ(MachineParameter.LimitTime, c.limit) << c.boxes.back().second;
  }
}

TEST_F(ParameterDialogTest, RealTimeOkChecksIntervalAndLimitOnly) {
  auto f = Open(1);
  MachineParameter.CurYear = 99;  // not examined in this layout
  ClickOption(f, 2);
  f.Text[2] = "32767";
  ClickOption(f, 11);
  f.Text[19] = "250";
  ASSERT_TRUE(OkParameterForm(f));
  const auto& p = MachineParameter;
  EXPECT_EQ(std::vector<int>({p.RecordInterval, p.IntervalUnit, p.LimitTime, p.LimitKind, p.WorkMode}),
            std::vector<int>({32767, 1, 250, 1, 1}));

  f = Open(1);
  f.Text[2] = "32768";
  EXPECT_FALSE(OkParameterForm(f));
  EXPECT_EQ(ports_.ui.messages.back(), "Data is erro!!=3");
}

TEST_F(ParameterDialogTest, CancelKeepsWhatClicksAlreadyWrote) {
  auto f = Open();
  ClickOption(f, 6);
  MachineParameter.ParameterAccepted = true;
  CancelParameterForm(f);
  EXPECT_TRUE(f.Closed && !MachineParameter.ParameterAccepted);
  EXPECT_EQ(MachineParameter.RecordMode, 1);
  EXPECT_FALSE(FileWritten());
}

}  // namespace
}  // namespace accelog
