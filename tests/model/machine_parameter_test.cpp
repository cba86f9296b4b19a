#include "model/machine_parameter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/temp_folder.h"

namespace accelog {
namespace {

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

TEST_F(ParameterStoreTest, NewInstallationGetsTheDefaults) {
  store_.LoadAtStartup();
  EXPECT_EQ(Fields(p), kDefaults);
  EXPECT_TRUE(IntegerFile().empty());  // not written until a dialog accepts
  const std::string expected = "c:\\" + std::string(47, ' ') + "c:" + std::string(48, ' ');
  EXPECT_EQ(StringFile(), Bytes(expected.begin(), expected.end()));
  EXPECT_EQ(p.DataPathCopy + p.DataDriveCopy, "c:\\c:");
}

TEST_F(ParameterStoreTest, DialogWriterLeavesRecord23Alone) {
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
}

TEST_F(ParameterStoreTest, SavedRecordsReadBack) {
  store_.LoadAtStartup();
  p.ComPort = 49, p.RecordInterval = 32766, p.IntervalUnit = 3, p.LedCycle = 16, p.CriticalX = 1;
  p.RecordMode = 1, p.WorkMode = 2, p.LimitTime = 32767, p.PaperKind = 5, p.PaperWidth = 420;
  p.PictureScale = 1.2f;
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

TEST_F(ParameterStoreTest, MissingFolderGivesDefaultsAndNamesTheFileNotSaved) {
  ParameterStore gone(folder_.File("gone"));
  gone.LoadAtStartup();  // files cannot be created: defaults in memory
  EXPECT_EQ(Fields(gone.Values()), kDefaults);
  for (const SaveResult& r : {gone.SaveRecording(), gone.SavePageSetup()}) {
    EXPECT_NE(r.message.find(folder_.File("gone/MPInteger.kvx")), std::string::npos) << r.message;
  }
}

}  // namespace
}  // namespace accelog
