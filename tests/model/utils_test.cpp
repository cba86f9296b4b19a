// Number and date helpers, texts, file names and the error log.
#include "model/utils.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include "model/text_util.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using Stamp = std::array<int16_t, 7>;  // year, month, day, hour, minute, second, millisecond

TEST(AdvanceClock, CrossesDaysMonthsYearsAndLeapDays) {
  const struct {
    Stamp from;
    int64_t ms;
    Stamp to;
  } cases[] = {
      {{2012, 2, 28, 23, 59, 59, 500}, 500, {2012, 2, 29, 0, 0, 0, 0}},
      {{2013, 2, 28, 23, 59, 59, 500}, 500, {2013, 3, 1, 0, 0, 0, 0}},
      {{2100, 2, 28, 23, 59, 59, 0}, 1000, {2100, 2, 29, 0, 0, 0, 0}},  // no century rule
      {{2013, 12, 31, 23, 59, 59, 0}, 1000, {2014, 1, 1, 0, 0, 0, 0}},
      {{2013, 4, 30, 23, 59, 0, 0}, 60000, {2013, 5, 1, 0, 0, 0, 0}},
      {{2013, 1, 30, 12, 0, 0, 0}, IntervalMilliseconds(72, 3), {2013, 2, 2, 12, 0, 0, 0}},
      {{2012, 2, 27, 0, 0, 0, 0}, IntervalMilliseconds(2 * 24 * 60, 2), {2012, 2, 29, 0, 0, 0, 0}},
      {{2013, 12, 1, 0, 0, 0, 0}, IntervalMilliseconds(32767, 3), {2017, 8, 27, 7, 0, 0, 0}},
      // Damaged dates move on without running away.
      {{2013, 4, 31, 23, 0, 0, 0}, 3600000, {2013, 5, 1, 0, 0, 0, 0}},
      {{2013, 0, 31, 23, 0, 0, 0}, 3600000, {2013, 1, 1, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const ClockFields to = ClockAfter({c.from[0], c.from[1], c.from[2], c.from[3], c.from[4], c.from[5], c.from[6]}, c.ms);
    const Stamp got = {to.Year, to.Month, to.Day, to.Hour, to.Minute, to.Second, to.Millisecond};
    EXPECT_EQ(got, c.to) << c.from[0] << "-" << c.from[1] << "-" << c.from[2] << " + " << c.ms << " ms";
  }
}

// Points' times are worked out from the start, not stepped one by one: both
// must agree, whatever the start and interval.
TEST(AdvanceClock, OneLongStepEqualsManyShortOnes) {
  std::mt19937 rng(23);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int run = 0; run < 300; ++run) {
    const ClockFields start{int16_t(pick(2000, 2255)), int16_t(pick(1, 12)), int16_t(pick(1, 31)), int16_t(pick(0, 23)),
                            int16_t(pick(0, 59)), int16_t(pick(0, 59)), 0};
    const int64_t interval = IntervalMilliseconds(pick(0, 700), pick(0, 3));
    ClockFields stepped = start;
    for (int k = 1; k <= 60; ++k) {
      stepped = ClockAfter(stepped, interval);
      const ClockFields once = ClockAfter(start, k * interval);
      ASSERT_EQ(std::memcmp(&once, &stepped, sizeof once), 0)
          << start.Year << "-" << start.Month << "-" << start.Day << " " << interval << " ms x " << k;
    }
  }
}

// Number texts, file names and blank handling: what each helper gives for
// values around its edges.
TEST(Texts, NumbersFileNamesAndBlanks) {
  const std::string deep = "/" + std::string(200, 'd') + "/f.kvx";
  const std::string cut = "ab\xe4\xb8\x8b";  // "ab" + one three-byte character
  const std::pair<std::string, std::string> cases[] = {
      {FormatDecimals(-0.25f, 1), "-0.2"}, {FormatDecimals(0.0f, 1), "0.0"}, {FormatDecimals(-12.7f, 0), "-12"},
      {FormatDecimals(0.7f, 0), "0"}, {FormatDecimals(1.2345f, 2), "1.23"}, {FormatDecimals(0.5f, 3), "0.500"},
      {FormatDecimals(998.4f, 2), "998.40"},
      {FloatText(998.4f), "998.4"}, {FloatText(-780.0f), "-780"}, {FloatText(0.5f) + FloatText(-0.5f, false), "0.5-.5"},
      {FloatText(1.0f / 3.0f), "0.3333333"},  // 8 digits would read back exactly; the text keeps 7
      {FloatText(123456789.0f), "1.234568E+08"}, {FloatText(1e-8f), "1E-08"},
      {NumberText(327601LL), " 327601"}, {NumberText(-5LL), "-5"}, {NumberText(0.5f), " .5"},
      {ExactFloatText(1000.530517578125f), "1000.5305"},
      {CleanFileName("/home/u/run1.txt   "), "/home/u/run1"}, {CleanFileName(std::string("/tmp/a.kvx\0   ", 14)), "/tmp/a"},
      {CleanFileName("/tmp/a.xlsx"), "/tmp/a.xlsx"},  // only three-letter extensions
      {CleanFileName(deep), deep.substr(0, deep.size() - 4)},
      {CutAtFirstDot("/home/u.name/.hidden/run 1.part.kvx  "), "/home/u.name/.hidden/run 1"},
      {CutUtf8(cut, 5), cut}, {CutUtf8(cut, 4), "ab"}, {CutUtf8(cut, 2), "ab"},
      {TrimBlanks(std::string("  c:\\ \0\0", 8)), "c:\\"}, {RemoveBlanks(" 1 2 "), "12"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
  // Four hex digits as a signed 16-bit value, anything else 0.
  for (auto [text, value] : {std::pair{"1041", 4161}, {"8102", -32510}, {"FfFf", -1}, {"7FFF", 32767},
                             {"8000", -32768}, {"", 0}, {"104", 0}, {"10411", 0}, {"10g1", 0},
                             {" 041", 0}, {"-041", 0}}) {
    EXPECT_EQ(HexTextToInteger(text), value) << text;
  }
}

using ErrorLog = testing::ProgramFolderTest;

// Whole 100-byte records appended, cut on a character boundary.
TEST_F(ErrorLog, AppendsHundredByteRecordsCutOnACharacterBoundary) {
  const std::string r = ErrorLogRecord("command12 is error!", 2013, 5, 7, 9, 5, 7);
  EXPECT_EQ(r, " 2013| 5 | 7 | 9 | 5 | 7 |command12 is error!" + std::string(53, ' ') + "\r\n");
  // 25 three-byte characters are 75 bytes; 72 bytes would split the 25th.
  std::string chinese;
  for (int i = 0; i < 25; ++i) chinese += "\xe9\x80\x9a";  // 通
  const std::string r2 = ErrorLogRecord("x" + chinese, 2013, 12, 31, 23, 59, 59);
  ASSERT_EQ(r2.size(), 100u);
  EXPECT_EQ(r2.substr(0, 96), " 2013| 12| 31| 23| 59| 59|" + ("x" + chinese).substr(0, 70));  // 1 + 23 x 3 bytes
  EXPECT_EQ(r2.substr(96), "  \r\n");
  WriteErrorLog("first");
  WriteErrorLog("second");
  const auto bytes = testing::ReadBytes(ProgramFile("MessageTam.txt"));
  ASSERT_EQ(bytes.size(), 200u);
  EXPECT_EQ(std::string(bytes.begin() + 26, bytes.begin() + 31), "first");
  EXPECT_EQ(std::string(bytes.begin() + 126, bytes.begin() + 132), "second");
}

// FloatText: the shortest text with at most seven digits that reads back;
// ExactFloatText reads back to the same value where seven digits do not.
TEST(FloatText, ReadBack) {
  for (float v : {3.9f, -200 * 3.9f, 1.0f / 3.0f, 89.99999f, 1e-3f, 12345.67f}) {
    const std::string s = FloatText(v);
    EXPECT_EQ(s.find('e'), std::string::npos) << s;
    EXPECT_NEAR(std::strtof(s.c_str(), nullptr), v, std::fabs(v) * 1e-6f) << s;
  }
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    uint32_t bits = rng();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    const std::string t = ExactFloatText(v);
    EXPECT_EQ(std::strtof(t.c_str(), nullptr), v) << t;
    EXPECT_EQ(t.find(','), std::string::npos);
  }
}

}  // namespace
}  // namespace accelog
