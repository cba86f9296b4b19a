#include "model/kvx_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "model/conversion.h"
#include "model/dataset.h"
#include "model/utils.h"
#include "model/machine_parameter.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using testing::KvxHead;
using testing::KvxImage;

class KvxFileTest : public testing::ProgramFolderTest {
 protected:
  std::string Write(const std::vector<unsigned char>& bytes, const std::string& name = "f.kvx") {
    const std::string path = folder_.File(name);
    testing::WriteBytes(path, bytes);
    return path;
  }
  std::string WriteLength(size_t length) {
    std::vector<unsigned char> b = KvxImage(KvxHead{}, {});
    b.resize(length, 1);
    return Write(b);
  }

  // Point i's X, Y, Z back in raw counts (3.9 mg a count).
  std::vector<int> Counts(int32_t i) const {
    const RealDataRecord& r = data_.RealData[i];
    return {int(std::lround(r.X / 3.9)), int(std::lround(r.Y / 3.9)), int(std::lround(r.Z / 3.9))};
  }

  Dataset data_;
};

// The head's fields land in the file's head, and a capture's head is written from the parameters.
TEST_F(KvxFileTest, HeadFieldsBothWays) {
  auto fields = [](const FileHeadRecord& p) {
    return std::vector<int>({p.RecordInterval, p.IntervalUnit, p.LedCycle, p.CriticalX, p.CriticalY, p.CriticalZ,
                             p.RecordMode, p.WorkMode, p.StartYear, p.StartMonth, p.StartDay, p.StartHour,
                             p.StartMinute, p.StartSecond});
  };
  const KvxHead h{0x1234, 2, 5, 1, 2, 3, 1, 2, 0x01020304, 14, 2, 28, 23, 58, 59};
  ASSERT_TRUE(data_.ReadFileHead(Write(KvxImage(h, {}))));
  EXPECT_EQ(fields(data_.Head), std::vector<int>({0x1234, 2, 5, 1, 2, 3, 1, 2, 14, 2, 28, 23, 58, 59}));
  EXPECT_EQ(data_.DeviceSampleCount, 0x01020304);
  data_.ReadFileHead(Write(KvxImage({.count = 0xFFFFFFFF}, {})));
  EXPECT_EQ(data_.DeviceSampleCount, -1);  // a signed 32-bit count

  // A live capture's head, from the parameters sent; its samples are checked through accelog-cli live.
  RecordingParameters p{};
  p.RecordInterval = 0x0203, p.IntervalUnit = 1, p.LedCycle = 4, p.CriticalX = 5, p.CriticalY = 6;
  p.CriticalZ = 7, p.RecordMode = 1, p.WorkMode = 2;
  const std::string f = folder_.File("live.kvx");
  SetCurFromClock(p);
  ASSERT_TRUE(data_.WriteCaptureHead(f, p));
  const auto b = testing::ReadBytes(f);
  ASSERT_EQ(b.size(), 19u);
  EXPECT_EQ(std::vector<unsigned char>(b.begin(), b.begin() + 9),
            (std::vector<unsigned char>{2, 3, 1, 4, 5, 6, 7, 1, 2}));
}

// A head no logger writes is refused by name and field, before any point is read.
TEST_F(KvxFileTest, AHeadNoLoggerWritesIsRefused) {
  const struct {
    KvxHead head;
    const char* problem;
  } cases[] = {
      {{.unit = 4}, "interval unit 4"},   {{.month = 0}, "start month 0"},   {{.month = 48}, "start month 48"},
      {{.day = 0}, "start day 0"},        {{.day = 32}, "start day 32"},     {{.hour = 24}, "start hour 24"},
      {{.minute = 60}, "start minute 60"}, {{.second = 60}, "start second 60"},
  };
  for (const auto& c : cases) {
    const std::string f = Write(KvxImage(c.head, testing::Wave(20)));
    const OpenOutcome o = data_.Open(f);
    EXPECT_EQ(o, OpenResult::NotLoggerFile) << c.problem;
    EXPECT_EQ(o.message, f + ": not a logger file (" + c.problem + ")");
    EXPECT_TRUE(o.warning);
    EXPECT_EQ(data_.CountPoint, 0);
  }
  // The edges a logger does write.
  for (const KvxHead& h : {KvxHead{.unit = 3, .month = 12, .day = 31, .hour = 23, .minute = 59, .second = 59},
                           KvxHead{.month = 1, .day = 1, .hour = 0, .minute = 0, .second = 0}}) {
    EXPECT_EQ(data_.Open(Write(KvxImage(h, testing::Wave(20)))), OpenResult::Ok);
  }
}

TEST_F(KvxFileTest, CountRoundsTheTailHalfToEven) {
  // 1.5 -> 2, 0.5 -> 0, 2.5 -> 2, 3.5 -> 4
  for (auto [tail, count] : {std::pair{0, 0}, {24, 4}, {9, 2}, {3, 0}, {15, 2}, {21, 4}}) {
    EXPECT_EQ(CountFilePoints(WriteLength(19 + static_cast<size_t>(tail))), count) << tail;
  }
  EXPECT_LE(CountFilePoints(WriteLength(0)), 0);
  EXPECT_EQ(CountFilePoints(folder_.File("missing.kvx")), 0);
  EXPECT_EQ(CountFilePoints(folder_.path()), 0);
}

// A cut record, and the records of a file that shrank after it was counted,
// read as zero over whatever the table held.
TEST_F(KvxFileTest, SamplesAreLowByteFirstSignedCountsAndMissingBytesReadAsZero) {
  std::vector<unsigned char> b = KvxImage(KvxHead{}, {});
  b.insert(b.end(), {0x38, 0xFF, 0x00, 0x00, 0x64, 0x00, 0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF});
  b.insert(b.end(), {0x0A, 0x00, 0x0B});  // x = 10, y low byte 11, the rest missing
  const std::string f = Write(b);
  data_.ReadFileHead(f);
  data_.CountPoint = CountFilePoints(f);
  EXPECT_EQ(data_.CountPoint, 2);  // 2.5 rounds to 2, yet a record is read for the tail
  ASSERT_EQ(data_.ReadAllPoints(f), 3);
  EXPECT_EQ(Counts(1), (std::vector<int>{-200, 0, 100}));
  EXPECT_EQ(Counts(2), (std::vector<int>{-32768, 32767, -1}));
  EXPECT_EQ(Counts(3), (std::vector<int>{10, 11, 0}));
  for (int32_t i = 1; i <= 10; ++i) data_.RealData.SetSample(i, 200, 200, 200);  // stale values
  data_.CountPoint = 10;  // counted while the file was longer
  EXPECT_EQ(data_.ReadAllPoints(f), 10);
  EXPECT_EQ(Counts(3), (std::vector<int>{10, 11, 0}));
  for (int32_t i = 4; i <= 10; ++i) EXPECT_TRUE(data_.RealData[i].IsZeroPoint()) << i;
}

// Open lays out the view, up to the largest file; one point more is refused
// and leaves the shown data.
TEST_F(KvxFileTest, OpenComputesTheViewUpToTheLargestFile) {
  auto s = testing::Wave(300);
  s[10] = s[11] = {0, 0, 0};
  s[20] = {400, 0, 0};  // 1560 mg
  const std::string f = Write(KvxImage(KvxHead{}, s));
  data_.MenuCommandCode = MenuOperation::DataView;
  ASSERT_EQ(data_.Open(f), OpenResult::Ok);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
  EXPECT_EQ(data_.CountPointNoZero, 298);
  data_.BuildNoZeroCopy();
  EXPECT_EQ(data_.RealDataNoZero[11].No, 13);  // the two zero points are left out
  EXPECT_EQ(data_.Stats.StatMaxPoint[kX], 21);
  EXPECT_GT(data_.SlotUsed[200], 0);  // the view is laid out

  std::vector<unsigned char> b = KvxImage(KvxHead{}, {});
  b.resize(19 + 6 * 327600, 0);
  b[19] = 1;  // point 1 is not a zero point
  EXPECT_EQ(data_.Open(Write(b)), OpenResult::Ok);
  EXPECT_EQ(data_.CountPoint, 327600);
  EXPECT_EQ(data_.CountPointNoZero, 1);

  data_.RealData.SetSample(1, 3165, 0, 0);
  const float shown = data_.RealData[1].X;
  b.resize(b.size() + 6, 0);
  data_.MenuCommandCode = MenuOperation::DataView;
  const OpenOutcome o = data_.Open(Write(b));
  EXPECT_EQ(o, OpenResult::TooMuchData);
  EXPECT_EQ(o.message, "Too much data = 327601");
  EXPECT_FALSE(o.warning);
  EXPECT_EQ(data_.RealData[1].X, shown);  // the shown data stays
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
}

TEST_F(KvxFileTest, ArbitraryBytesNeverFail) {
  // Lengths around the head, odd tails and random contents.
  std::mt19937 rng(12345);
  for (size_t length : {0u, 1u, 18u, 19u, 20u, 25u, 26u, 27u, 28u, 31u, 37u, 100u, 1001u}) {
    std::vector<unsigned char> b(length);
    for (auto& c : b) c = static_cast<unsigned char>(rng());
    // As they come (mostly refused by the head), and under a head a logger writes.
    const std::vector<unsigned char> head = KvxImage(KvxHead{}, {});
    for (bool logger_head : {false, true}) {
      if (logger_head) std::copy_n(head.begin(), std::min<size_t>(length, head.size()), b.begin());
      const std::string f = Write(b);
      const OpenOutcome r = data_.Open(f);
      if (length < 28) {
        EXPECT_EQ(r, OpenResult::DataError) << length;
        EXPECT_EQ(r.message, "Data is error !");
        EXPECT_EQ(data_.CountPoint, 0);
      } else if (r == OpenResult::NotLoggerFile) {
        EXPECT_FALSE(logger_head) << length;
        EXPECT_EQ(data_.CountPoint, 0);
      } else {
        EXPECT_EQ(r, OpenResult::Ok) << length;
        for (int32_t i = 1; i <= data_.CountPoint; ++i) ASSERT_LE(std::fabs(data_.RealData[i].AX), 90.0f);
      }
    }
  }
  EXPECT_EQ(data_.Open(folder_.File("missing.kvx")), OpenResult::DataError);
  EXPECT_EQ(data_.Open(folder_.path()), OpenResult::DataError);
}

// Opening a file gives, record for record, what converting each sample and
// stepping the clock one point at a time gives.
TEST_F(KvxFileTest, RecordsEqualAStraightConversion) {
  // Sub-second, whole-second and hour steps, a start just before a new
  // year; enough points for the conversion to be split.
  for (const KvxHead& h : {KvxHead{.interval = 10, .count = 9000, .hour = 23, .minute = 59, .second = 58},
                           KvxHead{.interval = 700, .count = 5000, .month = 2, .day = 28},
                           KvxHead{.interval = 1, .unit = 3, .count = 4500, .day = 30},
                           KvxHead{.interval = 250, .count = 6000, .month = 12, .day = 31, .hour = 23, .minute = 59, .second = 59}}) {
    std::vector<testing::Sample> samples(h.count);
    uint32_t seed = h.count;
    for (auto& s : samples) {
      seed = seed * 1664525u + 1013904223u;
      if ((seed >> 8) % 50 != 0) s = {int16_t(seed >> 16), int16_t(seed >> 3), int16_t((seed >> 20) % 600 - 300)};
    }
        ASSERT_EQ(data_.Open(Write(KvxImage(h, samples))), OpenResult::Ok);
    ASSERT_EQ(data_.CountPoint, static_cast<int32_t>(h.count));

    const int16_t start[] = {int16_t(h.year + 2000), h.month, h.day, h.hour, h.minute, h.second, 0};
    std::memcpy(&data_.ClockYear, start, sizeof start);
    int32_t nonzero = 0;
    for (int32_t k = 1; k <= data_.CountPoint; ++k) {
      RealDataRecord want{};
      ConvertSample(samples[k - 1].x, samples[k - 1].y, samples[k - 1].z, want);
      std::memcpy(&want.Year, &data_.ClockYear, 6 * sizeof(int16_t));
      StampRecordTexts(want);
      data_.AdvanceClock(IntervalMilliseconds(h.interval, h.unit));
      const RealDataRecord& got = data_.RealData[k];
      ASSERT_EQ(got.No, k);
      ASSERT_EQ(std::memcmp(&got.Year, &want.Year, 6 * sizeof(int16_t) + 7 * sizeof(float)), 0) << k;
      ASSERT_EQ(std::memcmp(got.DateText, want.DateText, 18), 0) << k << " " << got.Date() << " " << got.Time();
      nonzero += !want.IsZeroPoint();
    }
    EXPECT_EQ(data_.CountPointNoZero, nonzero);
  }
}

// The parameter store.
using Bytes = std::vector<unsigned char>;

class ParameterStoreTest : public ::testing::Test {
 protected:
  Bytes IntegerFile() const { return testing::ReadBytes(folder_.File(kIntegerFileName)); }
  Bytes StringFile() const { return testing::ReadBytes(folder_.File(kStringFileName)); }
  static int16_t Rec(const Bytes& b, int rec) {
    return static_cast<int16_t>(b[2 * (rec - 1)] | b[2 * (rec - 1) + 1] << 8);
  }
  static Bytes Records(std::initializer_list<std::pair<int, int16_t>> recs, int count) {
    Bytes b(static_cast<size_t>(2 * count), 0);
    for (auto [rec, v] : recs) {
      b[2 * (rec - 1)] = static_cast<unsigned char>(static_cast<uint16_t>(v) & 0xFF);
      b[2 * (rec - 1) + 1] = static_cast<unsigned char>(static_cast<uint16_t>(v) >> 8);
    }
    return b;
  }
  testing::TempFolder folder_;
  ParameterStore store_{folder_.path()};
  RecordingParameters& p = store_.Values();
};

// The fields as one list, to compare a whole record at once.
std::vector<int> Fields(const RecordingParameters& p) {
  return {p.ComPort,   p.RecordInterval, p.IntervalUnit,   p.LedCycle,    p.CriticalX,   p.CriticalY,
          p.CriticalZ, p.RecordMode,     p.WorkMode,       p.LimitTime,   p.LimitKind,   p.PaperKind,
          p.PaperDirection, p.MarginLeft, p.MarginRight,   p.MarginTop,   p.MarginDown,  p.PaperWidth,
          p.PaperHeight, static_cast<int>(std::lround(p.PictureScale * 100))};
}
const std::vector<int> kDefaults = {1, 500, 0, 0, 16, 16, 16, 0, 0, 100, 0, 0, 1, 4, 5, 50, 10, 210, 297, 90};

TEST_F(ParameterStoreTest, NewInstallationAndAMissingFolderGetTheDefaults) {
  store_.LoadAtStartup();
  EXPECT_EQ(Fields(p), kDefaults);
  EXPECT_TRUE(IntegerFile().empty());  // not written until a dialog accepts
  const std::string expected = "c:\\" + std::string(47, ' ') + "c:" + std::string(48, ' ');
  EXPECT_EQ(StringFile(), Bytes(expected.begin(), expected.end()));
  EXPECT_EQ(p.DataPathCopy + p.DataDriveCopy, "c:\\c:");

  ParameterStore gone(folder_.File("gone"));
  gone.LoadAtStartup();  // files cannot be created: defaults in memory, and a save names the file
  EXPECT_EQ(Fields(gone.Values()), kDefaults);
  for (const SaveResult& r : {gone.SaveRecording(), gone.SavePageSetup()}) {
    EXPECT_NE(r.message.find(folder_.File("gone/MPInteger.kvx")), std::string::npos) << r.message;
  }
}

TEST_F(ParameterStoreTest, DialogWritersLeaveRecord23AloneAndSavedRecordsReadBack) {
  store_.LoadAtStartup();
  p.ComPort = 3, p.RecordInterval = -2, p.LimitKind = 1, p.LanguageFlag = 1;  // stored as they stand
  p.PictureScale = 0.625f, p.MarginLeft = -3;
  ASSERT_TRUE(store_.SaveRecording().Ok());
  Bytes b = IntegerFile();
  ASSERT_EQ(b.size(), 48u);
  EXPECT_EQ(std::vector<int>({Rec(b, 1), Rec(b, 2), Rec(b, 23), Rec(b, 24)}), std::vector<int>({3, -2, 0, 1}));
  ASSERT_TRUE(store_.SavePageSetup().Ok());
  b = IntegerFile();
  ASSERT_EQ(b.size(), 78u);
  for (int rec = 25; rec <= 31; ++rec) EXPECT_EQ(Rec(b, rec), 0);
  // 62.5 rounds to the even 62; the other writer's records stay.
  EXPECT_EQ(std::vector<int>({Rec(b, 33), Rec(b, 37), Rec(b, 39), Rec(b, 1)}), std::vector<int>({-3, 210, 62, 3}));

  // Values at the edges of their ranges read back.
  p.ComPort = 49, p.RecordInterval = 32766, p.IntervalUnit = 3, p.LedCycle = 16, p.CriticalX = 1;
  p.RecordMode = 1, p.WorkMode = 2, p.LimitTime = 32767, p.PaperKind = 5, p.PaperWidth = 420;
  p.PictureScale = 1.2f, p.MarginLeft = 4;
  ASSERT_TRUE(store_.SaveRecording().Ok() && store_.SavePageSetup().Ok());
  const std::vector<int> saved = Fields(p);
  ApplyDefaults(p);
  store_.ReadRecords();
  EXPECT_EQ(Fields(p), saved);
}

TEST_F(ParameterStoreTest, DamagedAndMissingRecordsTakeTheirDefaults) {
  const Bytes damaged = Records({{1, 50}, {2, 0}, {3, 9}, {4, 17}, {5, 0}, {8, 2}, {9, -1}, {22, 0}, {24, 2},
                                 {31, 6}, {32, 0}, {33, 0}, {37, -3}, {38, 0}, {39, 0}},
                                39);
  std::vector<int> kept = kDefaults;
  for (size_t i = 12; i <= 16; ++i) kept[i] = 0;  // any value is fine for direction and margins
  // The first OK writes records 1..24 only: the page set-up is not in the file.
  const Bytes dialog_only = Records({{1, 7}, {2, 1000}, {6, 4}, {22, 60}, {23, 0}}, 24);
  std::vector<int> dialog = kDefaults;
  dialog[0] = 7, dialog[1] = 1000, dialog[5] = 4, dialog[9] = 60;
  // Cut inside record 2: only record 1 is whole.
  std::vector<int> cut = kDefaults;
  cut[0] = 7;
  for (const auto& [bytes, want] : {std::pair{damaged, kept}, {dialog_only, dialog},
                                    {Bytes(dialog_only.begin(), dialog_only.begin() + 3), cut}}) {
    testing::WriteBytes(folder_.File(kIntegerFileName), bytes);
    store_.LoadAtStartup();
    EXPECT_EQ(Fields(p), want) << bytes.size() << " bytes";
    EXPECT_EQ(p.LanguageFlag, 1);  // record 23 may say Chinese; start-up is English
  }
}

TEST_F(ParameterStoreTest, DataFolderRecordsAreCutAndTrimmed) {
  const std::string folder = folder_.path();
  ASSERT_LT(folder.size(), 45u);
  std::string image = folder + std::string(50 - folder.size(), ' ') + "  drive:long" + std::string(38, ' ');
  testing::WriteBytes(folder_.File(kStringFileName), Bytes(image.begin(), image.end()));
  store_.LoadAtStartup();
  // An existing folder is kept; the drive is the first 10 characters.
  EXPECT_EQ(p.DataPath + "|" + p.DataDrive, folder + "|drive:lo");

  image = std::string(50, 'p') + std::string(50, ' ');
  testing::WriteBytes(folder_.File(kStringFileName), Bytes(image.begin(), image.end()));
  store_.ReadDataFolder();
  EXPECT_EQ(p.DataPath, std::string(45, 'p'));
  store_.LoadAtStartup();
  EXPECT_EQ(p.DataPath + "|" + p.DataDrive, "c:\\|c:");  // not a folder here
  EXPECT_EQ(StringFile(), Bytes(image.begin(), image.end()));  // replaced in memory only
}

}  // namespace
}  // namespace accelog
