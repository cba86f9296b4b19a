// The parameter dialog without widgets: opening, the clock, option buttons,
// keypad ranges, the OK rows with their codes, Cancel and the file; and the
// same form filled from command-line words.
#include "app/parameter_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/machine_parameter.h"
#include "app/parameter_entries.h"
#include "app/keypad_script.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

constexpr ClockReading kAfternoon = {2026, 5, 14, 14, 35, 20};

class ParameterDialogTest : public testing::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ApplyDefaults(p_);
    p_.LanguageFlag = 1;
    p_.WorkMode = 2;  // timing: the start and limit frames take clicks
  }

  ParameterForm Open(int16_t mode = 0, ClockReading now = kAfternoon) {
    p_.ParameterDialogMode = mode;
    ParameterForm form;
    OpenParameterForm(form, p_, now);
    return form;
  }

  std::string File() const { return folder_.File(kIntegerFileName); }

  testing::FakePorts ports_;
  ParameterStore store_{folder_.path()};
  RecordingParameters& p_ = store_.Values();
};

TEST_F(ParameterDialogTest, LayoutsOpenFromTheRecordAndTheClock) {
  p_.RecordInterval = 300, p_.IntervalUnit = 2, p_.CriticalX = 4, p_.RecordMode = 1, p_.ComPort = 9, p_.LimitKind = 1;
  const auto f = Open();
  EXPECT_EQ(f.Text[1] + " " + f.Text[2] + " " + f.Text[4], "4 300 4");  // the port is not the stored one
  EXPECT_TRUE(f.Option[3] && f.Option[6] && f.Option[9] && f.CriticalEnabled && !f.OptionVisible[10]);
  EXPECT_EQ(f.Text[9] + " " + f.Text[10] + ":" + f.Text[11] + ":" + f.Text[12], "14 14:35:20");
  p_.WorkMode = 1;
  EXPECT_FALSE(ValueBoxClickable(Open(), 19));
  // The real-time layout: an interval below its minimum shows as 500.
  const auto r = Open(1);
  EXPECT_EQ(r.Text[2] + " " + r.LimitCaption, "500 number of times");
  EXPECT_TRUE(Open(2).Text[2].empty());  // any other mode fills nothing
}

// The next full hour at least 10 seconds ahead, which OK accepts as it stands.
TEST_F(ParameterDialogTest, StartIsTheNextFullHourAcrossMidnight) {
  const struct {
    ClockReading now;
    const char* start;
  } cases[] = {
      {{2026, 12, 31, 23, 35, 42}, "27/1/1 0:0:0"},
      {{2028, 2, 28, 23, 0, 0}, "28/2/29 0:0:0"},
      {{2026, 5, 14, 14, 59, 49}, "26/5/14 15:0:0"},
      {{2026, 5, 14, 14, 59, 50}, "26/5/14 16:0:0"},
      {{2026, 5, 14, 22, 59, 55}, "26/5/15 0:0:0"},
      {{2026, 2, 28, 23, 59, 59}, "26/3/1 1:0:0"},
  };
  p_.WorkMode = 0;  // manual: the start boxes cannot be edited
  for (const auto& c : cases) {
    auto f = Open(0, c.now);
    auto start = [&f] {
      return f.Text[13] + "/" + f.Text[14] + "/" + f.Text[15] + " " + f.Text[16] + ":" + f.Text[17] + ":" + f.Text[18];
    };
    EXPECT_EQ(start(), c.start);
    TickParameterClock(f, c.now);  // the live clock keeps a start date ahead of today
    EXPECT_EQ(start(), c.start);
    EXPECT_TRUE(OkParameterForm(ports_.ui, f, store_)) << c.start;
  }
}

TEST_F(ParameterDialogTest, LiveClockMovesCurrentTimeAndStartDateOnlyUntilCancel) {
  auto f = Open();
  f.Text[16] = "18";
  f.Text[13] = "30";
  TickParameterClock(f, {2026, 5, 15, 0, 0, 3});
  EXPECT_EQ(f.Text[9] + " " + f.Text[10] + ":" + f.Text[11] + ":" + f.Text[12], "15 0:0:3");
  EXPECT_EQ(f.Text[13] + "/" + f.Text[15] + " " + f.Text[16] + ":" + f.Text[17] + ":" + f.Text[18], "26/15 18:0:0");
  ClickOption(f, p_, 6);
  p_.ParameterAccepted = true;
  CancelParameterForm(f, p_);
  TickParameterClock(f, {2026, 5, 15, 0, 0, 9});
  EXPECT_EQ(f.Text[12], "3");  // the timer stopped with the window
  // Cancel keeps what the clicks already wrote and writes no file.
  EXPECT_TRUE(f.Closed && !p_.ParameterAccepted && p_.RecordMode == 1);
  EXPECT_TRUE(testing::ReadBytes(File()).empty());
}

TEST_F(ParameterDialogTest, OptionButtonRules) {
  auto f = Open();
  for (auto [text, option, after] : {std::tuple{"30", 1, "50"}, {"120", 1, "120"}, {"999", 2, "1"}}) {
    f.Text[2] = text;
    ClickOption(f, p_, option);
    EXPECT_EQ(f.Text[2], after) << text << " option " << option;
  }
  ClickOption(f, p_, 6);  // the record mode reaches the record at once, before OK
  EXPECT_TRUE(p_.RecordMode == 1 && f.CriticalEnabled);
  ClickOption(f, p_, 7);
  EXPECT_FALSE(f.GroupEnabled[StartTimeGroup] || f.GroupEnabled[LimitGroup]);
}

TEST_F(ParameterDialogTest, KeypadRangesFollowTheUnitAndTheIntervalTypedSoFar) {
  auto f = Open();
  ClickOption(f, p_, 1);
  EXPECT_EQ(KeypadRangeFor(f, p_, 2)->Minimum, 50);
  ports_.keypad.steps.push_back(CancelKeypad);
  for (auto [option, interval, max] : {std::tuple{1, "100", "546"}, {1, "10000", "32767"}, {2, "5", "27300"}}) {
    ClickOption(f, p_, option);
    f.Text[2] = interval;
    ClickValueBox(f, p_, ports_.keypad, 19);
    EXPECT_EQ(ports_.keypad.shown.back().Maximum, max) << interval;
  }
  EXPECT_EQ(p_.RecordInterval, 5);  // taken from the box even when cancelled
  f = Open(1);
  ClickOption(f, p_, 1);
  EXPECT_EQ(KeypadRangeFor(f, p_, 2)->Minimum, 500);
}

TEST_F(ParameterDialogTest, EachRowReportsItsCodeAtItsEdges) {
  const struct {
    std::vector<std::pair<int, const char*>> boxes;
    int code;  // 0: accepted
    int limit = 55;  // LimitTime afterwards
    int option = 0;  // clicked first
  } cases[] = {
      {{{2, "32767"}}, 3}, {{{2, ""}}, 3},    {{{3, "17"}}, 5},   {{{4, "0"}}, 6},    {{{5, "17"}}, 7},
      {{{6, "x"}}, 8},     {{{7, "51"}}, 9},  {{{8, "13"}}, 10},  {{{9, "32"}}, 11},  {{{10, "24"}}, 12},
      {{{11, "60"}}, 13},  {{{12, "60"}}, 14}, {{{13, "51"}}, 15}, {{{14, "0"}}, 16},  {{{15, "0"}}, 17},
      {{{16, "24"}}, 18},  {{{17, "60"}}, 19}, {{{18, "60"}}, 19}, {{{19, "x"}}, 20},  {{{13, "25"}}, 22},
      {{{2, "50"}, {19, "250"}}, 0, 250},   // 300000 points
      {{{2, "50"}, {19, "251"}}, 21, 251},  // 301200 points
      {{{19, "32767"}}, 0, 32767, 2},       // seconds: no points check
      {{{19, "0"}}, 0},                     // out of range: kept silently
      {{{16, "14"}, {17, "35"}, {18, "29"}}, 24},  // 9 s after the current time
      {{{16, "14"}, {17, "35"}, {18, "30"}}, 0},   // 10 s
      {{{13, "27"}, {14, "1"}, {15, "1"}, {16, "0"}}, 0},  // next year: no delay check
  };
  for (const auto& c : cases) {
    p_.LimitTime = 55, p_.ParameterAccepted = false;
    auto f = Open();
    if (c.option) ClickOption(f, p_, c.option);
    for (auto [box, text] : c.boxes) f.Text[static_cast<size_t>(box)] = text;
    ports_.ui.messages.clear();
    const std::string what = "Text" + std::to_string(c.boxes.back().first) + " = '" + c.boxes.back().second + "'";
    EXPECT_EQ(OkParameterForm(ports_.ui, f, store_), c.code == 0) << what;
    EXPECT_EQ(ports_.ui.messages, c.code ? std::vector<std::string>{"Data is erro!!=" + std::to_string(c.code)}
                                         : std::vector<std::string>{}) << what;
    EXPECT_EQ(p_.LimitTime, c.limit) << what;
    if (c.code == 0) continue;
    // The explanation says what the code means, in the active language.
    EXPECT_EQ(ports_.ui.explanations.back(), ParameterErrorExplanation(c.code, 1));
    EXPECT_FALSE(f.Closed || p_.ParameterAccepted) << what;
  }
}

TEST_F(ParameterDialogTest, UnwritableFileKeepsTheDialogOpenAndSaysWhy) {
  std::filesystem::create_directory(File());
  for (const std::string& reason : {File() + ": is a folder, not a file", std::string("/dev/full: is not a regular file")}) {
    auto f = Open();
    ports_.ui.messages.clear();
    EXPECT_FALSE(OkParameterForm(ports_.ui, f, store_));
    EXPECT_EQ(ports_.ui.messages, std::vector<std::string>{"The parameters were not saved: " + reason});
    EXPECT_FALSE(f.Closed || p_.ParameterAccepted);
    std::filesystem::remove(File());
    std::filesystem::create_symlink("/dev/full", File());  // followed, and never replaced
  }
}

TEST_F(ParameterDialogTest, PortBoxHasItsOwnMessagesFirst) {
  const struct {
    const char *port, *interval, *first, *second;
  } cases[] = {{"50", "500", "Port is erro!", "Data is erro!!=1"}, {"0.5", "500", "Port is erro!", "Data is erro!!=1"},
               {"COM4", "0", "Port is erro!!", "Data is erro!!=3"}, {"", "500", "端口错误!", "数据有错误!=2"}};
  for (const auto& c : cases) {
    p_.LanguageFlag = c.port[0] ? 1 : 0;
    auto f = Open();
    ports_.ui.messages.clear();
    f.Text[1] = c.port, f.Text[2] = c.interval;
    EXPECT_FALSE(OkParameterForm(ports_.ui, f, store_));
    EXPECT_EQ(ports_.ui.messages, (std::vector<std::string>{c.first, c.second})) << c.port;
  }
  auto f = Open();
  f.Text[1] = "49.9";
  ASSERT_TRUE(OkParameterForm(ports_.ui, f, store_));
  EXPECT_TRUE(p_.ParameterAccepted && f.Closed && !f.ClockRunning);
  EXPECT_EQ(p_.ComPort, 49);
  EXPECT_EQ(testing::ReadBytes(File()).size(), 48u);
}

TEST_F(ParameterDialogTest, LastFailingRowWinsAndPassingRowsAreStored) {
  auto f = Open();
  f.Text[3] = "7";
  f.Text[4] = "0";   // code 6
  f.Text[6] = "99";  // code 8
  f.Text[9] = "13";
  EXPECT_FALSE(OkParameterForm(ports_.ui, f, store_));
  EXPECT_EQ(ports_.ui.messages.back(), "Data is erro!!=8");
  EXPECT_EQ(std::vector<int>({p_.LedCycle, p_.CurDay, p_.CriticalX}), std::vector<int>({7, 13, 16}));
  EXPECT_TRUE(testing::ReadBytes(File()).empty() && !p_.ParameterAccepted);
}

TEST_F(ParameterDialogTest, RealTimeOkChecksIntervalAndLimitOnly) {
  auto f = Open(1);
  p_.CurYear = 99;  // not examined in this layout
  ClickOption(f, p_, 2);
  f.Text[2] = "32767";
  ClickOption(f, p_, 11);
  f.Text[19] = "250";
  ASSERT_TRUE(OkParameterForm(ports_.ui, f, store_));
  EXPECT_EQ(std::vector<int>({p_.RecordInterval, p_.IntervalUnit, p_.LimitTime, p_.LimitKind, p_.WorkMode}),
            std::vector<int>({32767, 1, 250, 1, 1}));
}

// What the entries store and send, and the codes of refused ones, are
// checked through the command line.
TEST_F(ParameterDialogTest, EntriesDefaultToTheStoredPortAndTheClockBeingSet) {
  p_.ComPort = 3;
  ParameterEntries e;
  e.Clock = "2030-12-31 23:1:09";  // the clock text parses with or without leading zeros
  ParameterForm g;
  std::string error;
  ASSERT_TRUE(FillFormFromEntries(e, p_, kAfternoon, g, error)) << error;
  EXPECT_EQ(g.Text[1], "3");  // the stored port, not the dialog's "4"
  EXPECT_EQ(g.Text[7] + " " + g.Text[13] + "-" + g.Text[14] + "-" + g.Text[15] + " " + g.Text[16], "30 31-1-1 0");
}

TEST_F(ParameterDialogTest, EntryWordsAndClockTextsThatNameNothingAreRefusedBeforeAnyCheck) {
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
    ParameterForm f;
    std::string error;
    EXPECT_FALSE(FillFormFromEntries(e, p_, kAfternoon, f, error)) << word;
    EXPECT_NE(error.find(word), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace accelog
