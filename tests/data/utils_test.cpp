#include "data/utils.h"

#include <gtest/gtest.h>

#include "data/state.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

TEST(HexTextToInteger, ReadsFourHexDigitsAsSigned16Bit) {
  EXPECT_EQ(HexTextToInteger("1041"), 4161);
  EXPECT_EQ(HexTextToInteger("8102"), -32510);
  EXPECT_EQ(HexTextToInteger("ffff"), -1);
  EXPECT_EQ(HexTextToInteger("FfFf"), -1);
  EXPECT_EQ(HexTextToInteger("7FFF"), 32767);
  EXPECT_EQ(HexTextToInteger("8000"), -32768);
}

TEST(HexTextToInteger, AnythingButFourHexDigitsIsZero) {
  EXPECT_EQ(HexTextToInteger(""), 0);
  EXPECT_EQ(HexTextToInteger("104"), 0);
  EXPECT_EQ(HexTextToInteger("10411"), 0);
  EXPECT_EQ(HexTextToInteger("10g1"), 0);
  EXPECT_EQ(HexTextToInteger(" 041"), 0);
  EXPECT_EQ(HexTextToInteger("-041"), 0);
}

TEST(Bytes, HighLowAndShifts) {
  EXPECT_EQ(HighByte(-200), 255);
  EXPECT_EQ(LowByte(-200), 56);
  EXPECT_EQ(HighByte(500), 1);
  EXPECT_EQ(LowByte(500), 0xF4);
  EXPECT_EQ(ShiftRightBits(256, 8), 1);
  const int32_t v = 256;
  EXPECT_EQ(ShiftRightBits(v, 24) & 255, 0);
  EXPECT_EQ(ShiftRightBits(v, 16) & 255, 0);
  EXPECT_EQ(ShiftRightBits(v, 8) & 255, 1);
  EXPECT_EQ(v & 255, 0);
  EXPECT_EQ(ShiftRightBits(300000, 0), 300000);
  EXPECT_EQ(ShiftLeftBits(int16_t{0x4001}, 1), static_cast<int16_t>(0x8002));  // bit 15 becomes the sign
  EXPECT_EQ(ShiftLeftBits(int16_t{0x7001}, 4), 0x0010);                       // top bits are lost
  EXPECT_EQ(ShiftLeftBits(int16_t{5}, 0), 5);
  EXPECT_EQ(ShiftLeftBits(int32_t{0x40000001}, 1), static_cast<int32_t>(0x80000002u));
  EXPECT_EQ(ShiftLeftBits(int32_t{1}, 40), 0);
}

class ClockTest : public ::testing::Test {
 protected:
  void Set(int y, int mo, int d, int h, int mi, int s, int ms) {
    Data.ClockYear = static_cast<int16_t>(y);
    Data.ClockMonth = static_cast<int16_t>(mo);
    Data.ClockDay = static_cast<int16_t>(d);
    Data.ClockHour = static_cast<int16_t>(h);
    Data.ClockMinute = static_cast<int16_t>(mi);
    Data.ClockSecond = static_cast<int16_t>(s);
    Data.ClockMillisecond = static_cast<int16_t>(ms);
  }
  void Expect(int y, int mo, int d, int h, int mi, int s, int ms) {
    EXPECT_EQ(Data.ClockYear, y);
    EXPECT_EQ(Data.ClockMonth, mo);
    EXPECT_EQ(Data.ClockDay, d);
    EXPECT_EQ(Data.ClockHour, h);
    EXPECT_EQ(Data.ClockMinute, mi);
    EXPECT_EQ(Data.ClockSecond, s);
    EXPECT_EQ(Data.ClockMillisecond, ms);
  }
};

TEST_F(ClockTest, LeapDayOnlyInYearsDivisibleByFour) {
  Set(2012, 2, 28, 23, 59, 59, 500);
  AdvanceClock(500);
  Expect(2012, 2, 29, 0, 0, 0, 0);
  Set(2013, 2, 28, 23, 59, 59, 500);
  AdvanceClock(500);
  Expect(2013, 3, 1, 0, 0, 0, 0);
  Set(2012, 2, 29, 23, 0, 0, 0);
  AdvanceClock(3600000);
  Expect(2012, 3, 1, 0, 0, 0, 0);
  // No century rule: 2100 counts as a leap year.
  Set(2100, 2, 28, 23, 59, 59, 0);
  AdvanceClock(1000);
  Expect(2100, 2, 29, 0, 0, 0, 0);
}

TEST_F(ClockTest, MonthAndYearEnds) {
  Set(2013, 12, 31, 23, 59, 59, 0);
  AdvanceClock(1000);
  Expect(2014, 1, 1, 0, 0, 0, 0);
  Set(2013, 4, 30, 23, 59, 0, 0);
  AdvanceClock(60000);
  Expect(2013, 5, 1, 0, 0, 0, 0);
  Set(2013, 5, 30, 23, 59, 0, 0);
  AdvanceClock(60000);
  Expect(2013, 5, 31, 0, 0, 0, 0);
  Set(2013, 1, 1, 0, 0, 0, 999);
  AdvanceClock(1);
  Expect(2013, 1, 1, 0, 0, 1, 0);
}

TEST_F(ClockTest, IntervalsOfSeveralDaysMoveTheDateByEveryDayCrossed) {
  Set(2013, 1, 30, 12, 0, 0, 0);
  AdvanceClock(IntervalMilliseconds(72, 3));  // three days
  Expect(2013, 2, 2, 12, 0, 0, 0);
  Set(2012, 2, 27, 0, 0, 0, 0);
  AdvanceClock(IntervalMilliseconds(2 * 24 * 60, 2));  // two days in minutes
  Expect(2012, 2, 29, 0, 0, 0, 0);
  Set(2013, 12, 1, 0, 0, 0, 0);
  AdvanceClock(IntervalMilliseconds(32767, 3));  // 1365 days and 7 hours
  Expect(2017, 8, 27, 7, 0, 0, 0);
}

TEST_F(ClockTest, DamagedDatesStillMoveOnWithoutRunningAway) {
  Set(2013, 4, 31, 23, 0, 0, 0);  // no 31st in April
  AdvanceClock(3600000);
  Expect(2013, 5, 1, 0, 0, 0, 0);
  Set(2013, 0, 31, 23, 0, 0, 0);  // month 0 from a zeroed head
  AdvanceClock(3600000);
  Expect(2013, 1, 1, 0, 0, 0, 0);
}

TEST(FormatDecimals, TruncatesAndPads) {
  EXPECT_EQ(FormatDecimals(-0.25f, 1), "-0.2");
  EXPECT_EQ(FormatDecimals(0.0f, 1), "0.0");
  EXPECT_EQ(FormatDecimals(0.0f, 0), "0");
  EXPECT_EQ(FormatDecimals(3.0f, 0), "3");
  EXPECT_EQ(FormatDecimals(12.7f, 0), "12");
  EXPECT_EQ(FormatDecimals(-12.7f, 0), "-12");
  EXPECT_EQ(FormatDecimals(0.7f, 0), "0");
  EXPECT_EQ(FormatDecimals(1.2345f, 2), "1.23");
  EXPECT_EQ(FormatDecimals(0.1234f, 2), "0.12");
  EXPECT_EQ(FormatDecimals(0.25f, 2), "0.25");
  EXPECT_EQ(FormatDecimals(45.0f, 1), "45.0");
  EXPECT_EQ(FormatDecimals(0.5f, 3), "0.500");
  EXPECT_EQ(FormatDecimals(998.4f, 2), "998.40");
  EXPECT_EQ(FormatDecimals(1234.0f, 0), "1234");
}

TEST(FileNames, DialogResultCleanUp) {
  EXPECT_EQ(FileNameFilter_String("/home/u/run1.kvx"), "/home/u/run1");
  EXPECT_EQ(FileNameFilter_String("/home/u/run1.txt   "), "/home/u/run1");
  EXPECT_EQ(FileNameFilter_String("/home/u/run1"), "/home/u/run1");
  EXPECT_EQ(FileNameFilter_String(std::string("/tmp/a.kvx\0   ", 14)), "/tmp/a");
  EXPECT_EQ(FileNameFilter_String("/tmp/a.xlsx"), "/tmp/a.xlsx");  // only three-letter extensions
  const std::string deep = "/" + std::string(200, 'd') + "/f.kvx";
  EXPECT_EQ(FileNameFilter_String(deep), deep.substr(0, deep.size() - 4));
  EXPECT_EQ(CutAtFirstDot("/home/u/run 1.part.kvx  "), "/home/u/run 1");
  EXPECT_EQ(CutAtFirstDot("/home/u.name/.hidden/run.kvx"), "/home/u.name/.hidden/run");
  EXPECT_EQ(CutAtFirstDotNoBlanks("/home/u/run 1.kvx"), "/home/u/run1");
}

TEST(ClearSlots, EmptiesTheColumnsAndTheWindow) {
  ResetDataState();
  Data.SlotUsed[5] = 3;
  Data.SlotPoint[200] = 9;
  Data.CountPoint = 77;
  Data.DispStartPoint = 4;
  Data.DispEndPoint = 40;
  ClearSlots();
  EXPECT_EQ(Data.SlotUsed[5], 0);
  EXPECT_EQ(Data.SlotPoint[200], 0);
  EXPECT_EQ(Data.CountPoint, 0);
  EXPECT_EQ(Data.DispStartPoint, 1);
  EXPECT_EQ(Data.DispEndPoint, 1);
}

TEST(ErrorLog, RecordLayout) {
  const std::string r = ErrorLogRecord("command12 is error!", 2013, 5, 7, 9, 5, 7);
  ASSERT_EQ(r.size(), 100u);
  EXPECT_EQ(r.substr(0, 26), " 2013| 5 | 7 | 9 | 5 | 7 |");
  EXPECT_EQ(r.substr(26, 19), "command12 is error!");
  EXPECT_EQ(r.substr(45, 53), std::string(53, ' '));
  EXPECT_EQ(r.substr(98), "\r\n");
}

TEST(ErrorLog, LongAndMultiByteMessagesAreCutOnACharacterBoundary) {
  // 25 three-byte characters are 75 bytes; 72 bytes would split the 25th.
  std::string chinese;
  for (int i = 0; i < 25; ++i) chinese += "\xe9\x80\x9a";  // 通
  const std::string r = ErrorLogRecord(chinese, 2013, 12, 31, 23, 59, 59);
  ASSERT_EQ(r.size(), 100u);
  EXPECT_EQ(r.substr(26, 72), chinese.substr(0, 72));
  const std::string r2 = ErrorLogRecord("x" + chinese, 2013, 12, 31, 23, 59, 59);
  ASSERT_EQ(r2.size(), 100u);
  EXPECT_EQ(r2.substr(26, 70), ("x" + chinese).substr(0, 70));  // 1 + 23 x 3 bytes
  EXPECT_EQ(r2.substr(96, 2), "  ");
  EXPECT_EQ(r.substr(0, 26), " 2013| 12| 31| 23| 59| 59|");
}

class ErrorLogFile : public testing::ProgramFolderTest {};

TEST_F(ErrorLogFile, AppendsWholeRecords) {
  WriteErrorLog("first");
  WriteErrorLog("second");
  const auto bytes = testing::ReadBytes(ProgramFile("MessageTam.txt"));
  ASSERT_EQ(bytes.size(), 200u);
  EXPECT_EQ(std::string(bytes.begin() + 26, bytes.begin() + 31), "first");
  EXPECT_EQ(std::string(bytes.begin() + 126, bytes.begin() + 132), "second");
  EXPECT_EQ(bytes[199], '\n');
}

}  // namespace
}  // namespace accelog
