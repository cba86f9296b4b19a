#include "params/machine_parameter.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "core/program_folder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using Bytes = std::vector<unsigned char>;

class ParameterStoreTest : public testing::ProgramFolderTest {
 protected:
  Bytes IntegerFile() const { return testing::ReadBytes(ProgramFile(kIntegerFileName)); }
  Bytes StringFile() const { return testing::ReadBytes(ProgramFile(kStringFileName)); }
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
};

TEST_F(ParameterStoreTest, NewInstallationGetsTheDefaults) {
  LoadParametersAtStartup();
  const auto& p = MachineParameter;
  EXPECT_EQ(p.ComPort, 1);
  EXPECT_EQ(p.RecordInterval, 500);
  EXPECT_EQ(p.IntervalUnit, 0);
  EXPECT_EQ(p.LedCycle, 0);
  EXPECT_EQ(p.CriticalX, 16);
  EXPECT_EQ(p.CriticalZ, 16);
  EXPECT_EQ(p.LimitTime, 100);
  EXPECT_EQ(p.PaperDirection, 1);
  EXPECT_EQ(p.MarginTop, 50);
  EXPECT_EQ(p.PaperHeight, 297);
  EXPECT_FLOAT_EQ(p.PictureScale, 0.9f);
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  EXPECT_EQ(p.CurYear, tm.tm_year + 1900 - 2000);
  EXPECT_EQ(p.StartMonth, tm.tm_mon + 1);
  EXPECT_EQ(p.LanguageFlag, 1);  // always English at start-up

  EXPECT_TRUE(IntegerFile().empty());  // not written until a dialog accepts
  const Bytes s = StringFile();
  ASSERT_EQ(s.size(), 100u);
  Bytes expected(100, ' ');
  expected[0] = 'c';
  expected[1] = ':';
  expected[2] = '\\';
  expected[50] = 'c';
  expected[51] = ':';
  EXPECT_EQ(s, expected);
  EXPECT_EQ(p.DataPathCopy, "c:\\");
  EXPECT_EQ(p.DataDriveCopy, "c:");
}

TEST_F(ParameterStoreTest, DialogWriterLeavesRecord23Alone) {
  LoadParametersAtStartup();
  MachineParameter.ComPort = 3;
  MachineParameter.RecordInterval = -2;  // stored as it stands
  MachineParameter.LimitKind = 1;
  MachineParameter.LanguageFlag = 1;
  SaveMachineParameter();
  Bytes b = IntegerFile();
  ASSERT_EQ(b.size(), 48u);
  EXPECT_EQ(Rec(b, 1), 3);
  EXPECT_EQ(b[2], 0xFE);
  EXPECT_EQ(b[3], 0xFF);
  EXPECT_EQ(Rec(b, 23), 0);
  EXPECT_EQ(Rec(b, 24), 1);

  SavePageSetup();
  b = IntegerFile();
  ASSERT_EQ(b.size(), 78u);
  for (int rec = 25; rec <= 30; ++rec) EXPECT_EQ(Rec(b, rec), 0);
  EXPECT_EQ(Rec(b, 31), 0);
  EXPECT_EQ(Rec(b, 37), 210);
  EXPECT_EQ(Rec(b, 39), 90);
  EXPECT_EQ(Rec(b, 1), 3);  // the other writer's records stay
}

TEST_F(ParameterStoreTest, PageSetupAloneWritesItsRecordsAtTheirPlaces) {
  LoadParametersAtStartup();
  MachineParameter.PictureScale = 0.625f;
  MachineParameter.MarginLeft = -3;
  SavePageSetup();
  const Bytes b = IntegerFile();
  ASSERT_EQ(b.size(), 78u);
  for (int rec = 1; rec <= 30; ++rec) EXPECT_EQ(Rec(b, rec), 0) << rec;
  EXPECT_EQ(Rec(b, 33), -3);
  EXPECT_EQ(Rec(b, 39), 62);  // 62.5 rounds to the even 62
}

TEST_F(ParameterStoreTest, SavedRecordsReadBack) {
  LoadParametersAtStartup();
  auto& p = MachineParameter;
  p.ComPort = 49;
  p.RecordInterval = 32766;
  p.IntervalUnit = 3;
  p.LedCycle = 16;
  p.CriticalX = 1;
  p.RecordMode = 1;
  p.WorkMode = 2;
  p.StartYear = 50;
  p.StartDay = 31;
  p.LimitTime = 32767;
  p.PaperKind = 5;
  p.PaperWidth = 420;
  p.PictureScale = 1.2f;
  SaveMachineParameter();
  SavePageSetup();
  ApplyDefaultParameters();
  ReadMachineParameter();
  EXPECT_EQ(p.ComPort, 49);
  EXPECT_EQ(p.RecordInterval, 32766);
  EXPECT_EQ(p.IntervalUnit, 3);
  EXPECT_EQ(p.LedCycle, 16);
  EXPECT_EQ(p.CriticalX, 1);
  EXPECT_EQ(p.RecordMode, 1);
  EXPECT_EQ(p.WorkMode, 2);
  EXPECT_EQ(p.StartYear, 50);
  EXPECT_EQ(p.StartDay, 31);
  EXPECT_EQ(p.LimitTime, 32767);
  EXPECT_EQ(p.PaperKind, 5);
  EXPECT_EQ(p.PaperWidth, 420);
  EXPECT_FLOAT_EQ(p.PictureScale, 1.2f);
}

TEST_F(ParameterStoreTest, DamagedValuesFallBackToTheirDefaults) {
  testing::WriteBytes(ProgramFile(kIntegerFileName),
                      Records({{1, 50}, {2, 0}, {3, 9}, {4, 17}, {5, 0}, {8, 2}, {9, -1}, {10, 12},
                               {11, 13}, {13, 24}, {22, 0}, {24, 2}, {31, 6}, {37, -3}, {38, 0},
                               {39, 0}},
                              39));
  LoadParametersAtStartup();
  const auto& p = MachineParameter;
  EXPECT_EQ(p.ComPort, 1);
  EXPECT_EQ(p.RecordInterval, 500);
  EXPECT_EQ(p.IntervalUnit, 0);
  EXPECT_EQ(p.LedCycle, 0);
  EXPECT_EQ(p.CriticalX, 16);
  EXPECT_EQ(p.RecordMode, 0);
  EXPECT_EQ(p.WorkMode, 0);
  EXPECT_GE(p.CurYear, 13);
  EXPECT_GE(p.CurMonth, 1);
  EXPECT_LE(p.CurMonth, 12);
  EXPECT_LE(p.CurHour, 23);
  EXPECT_EQ(p.LimitTime, 100);
  EXPECT_EQ(p.LimitKind, 0);
  EXPECT_EQ(p.PaperKind, 0);
  EXPECT_EQ(p.PaperWidth, 210);
  EXPECT_EQ(p.PaperHeight, 297);
  EXPECT_FLOAT_EQ(p.PictureScale, 0.9f);
}

TEST_F(ParameterStoreTest, ShortFileKeepsWhatItHolds) {
  // Written by the dialog only: 24 records; the page set-up keeps its defaults.
  Bytes b = Records({{1, 7}, {2, 1000}, {3, 1}, {5, 4}, {6, 4}, {7, 4}, {10, 20}, {11, 6}, {12, 15},
                     {16, 20}, {17, 6}, {18, 15}, {22, 60}, {23, 0}},
                    24);
  testing::WriteBytes(ProgramFile(kIntegerFileName), b);
  LoadParametersAtStartup();
  auto& p = MachineParameter;
  EXPECT_EQ(p.ComPort, 7);
  EXPECT_EQ(p.RecordInterval, 1000);
  EXPECT_EQ(p.CriticalY, 4);
  EXPECT_EQ(p.LimitTime, 60);
  EXPECT_EQ(p.PaperWidth, 210);
  EXPECT_FLOAT_EQ(p.PictureScale, 0.9f);
  EXPECT_EQ(p.LanguageFlag, 1);  // record 23 says Chinese; start-up runs in English

  // A file cut inside a record: the cut record reads its missing byte as zero.
  b.resize(3);
  testing::WriteBytes(ProgramFile(kIntegerFileName), b);
  LoadParametersAtStartup();
  EXPECT_EQ(p.ComPort, 7);
  EXPECT_EQ(p.RecordInterval, 1000 & 0xFF);
  EXPECT_EQ(p.CriticalX, 16);
}

TEST_F(ParameterStoreTest, DataFolderRecordsAreCutAndTrimmed) {
  const std::string folder = folder_.path();
  std::string image(100, ' ');
  ASSERT_LT(folder.size(), 45u);
  image.replace(0, folder.size(), folder);
  image.replace(50, 12, "  drive:long");
  testing::WriteBytes(ProgramFile(kStringFileName), Bytes(image.begin(), image.end()));
  LoadParametersAtStartup();
  EXPECT_EQ(MachineParameter.DataPath, folder);  // an existing folder is kept
  EXPECT_EQ(MachineParameter.DataDrive, "drive:lo");  // the first 10 characters

  image.assign(100, ' ');
  image.replace(0, 50, std::string(50, 'p'));
  testing::WriteBytes(ProgramFile(kStringFileName), Bytes(image.begin(), image.end()));
  ReadDataPath();
  EXPECT_EQ(MachineParameter.DataPath, std::string(45, 'p'));
  LoadParametersAtStartup();
  EXPECT_EQ(MachineParameter.DataPath, "c:\\");  // not a folder here
  EXPECT_EQ(MachineParameter.DataDrive, "c:");
  EXPECT_EQ(StringFile(), Bytes(image.begin(), image.end()));  // replaced in memory only
}

TEST_F(ParameterStoreTest, UnreadableFolderDoesNotCrash) {
  ASSERT_TRUE(InitProgramFolder(folder_.File("gone")));
  std::filesystem::remove_all(folder_.File("gone"));
  LoadParametersAtStartup();  // files cannot be created: defaults in memory
  EXPECT_EQ(MachineParameter.RecordInterval, 500);
  EXPECT_EQ(MachineParameter.DataPath, "c:\\");
}

}  // namespace
}  // namespace accelog
