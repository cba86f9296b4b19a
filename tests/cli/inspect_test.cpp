// accelog-cli info / points / slots, run as a separate program.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <cstring>

#include "data/conversion.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using testing::KvxHead;
using testing::KvxImage;

struct CliRun {
  int code;
  QString out, err;
};

CliRun Cli(const QStringList& args) {
  QProcess p;
  p.start(ACCELOG_CLI, args);
  EXPECT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "crashed: " << args.join(' ').toStdString();
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

class InspectorTest : public ::testing::Test {
 protected:
  QString Write(const std::vector<unsigned char>& bytes, const std::string& name = "f.kvx") {
    testing::WriteBytes(folder_.File(name), bytes);
    return QString::fromStdString(folder_.File(name));
  }
  QString Sample() {
    KvxHead h;
    h.count = 30;
    h.year = 13;
    h.month = 12;
    h.day = 31;
    h.hour = 23;
    h.minute = 59;
    h.second = 59;
    auto s = testing::Wave(30);
    s[4] = {0, 0, 0};
    s[7] = {400, 0, 0};
    return Write(KvxImage(h, s));
  }
  testing::TempFolder folder_;
};

TEST_F(InspectorTest, InfoAsJson) {
  const CliRun r = Cli({"info", Sample(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  QJsonParseError e;
  const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &e).object();
  ASSERT_EQ(e.error, QJsonParseError::NoError) << r.out.toStdString();
  for (const char* key : {"RecordInterval", "IntervalUnit", "LedCycle", "CriticalX", "CriticalY",
                          "CriticalZ", "RecordMode", "WorkMode", "DeviceSampleCount", "StartYear",
                          "StartMonth", "StartDay", "StartHour", "StartMinute", "StartSecond",
                          "CountPoint", "CountPointNoZero", "stats"}) {
    EXPECT_TRUE(o.contains(key)) << key;
  }
  EXPECT_EQ(o["RecordInterval"].toInt(), 500);
  EXPECT_EQ(o["DeviceSampleCount"].toInt(), 30);
  EXPECT_EQ(o["StartDay"].toInt(), 31);
  EXPECT_EQ(o["CountPoint"].toInt(), 30);
  EXPECT_EQ(o["CountPointNoZero"].toInt(), 29);
  const QJsonObject stats = o["stats"].toObject();
  EXPECT_EQ(stats.keys(), (QStringList{"AX", "AY", "AZ", "V", "X", "Y", "Z"}));
  const QJsonObject x = stats["X"].toObject();
  EXPECT_EQ(x.keys(), (QStringList{"average", "max", "maxPoint", "min", "minPoint"}));
  EXPECT_DOUBLE_EQ(x["max"].toDouble(), 1560.0);
  EXPECT_EQ(x["maxPoint"].toInt(), 8);
  EXPECT_EQ(o["texts"].toObject()["max"].toObject()["X"].toString(), "1560   1/1/2014 0:0:2");
}

TEST_F(InspectorTest, PointsLines) {
  const CliRun r = Cli({"points", Sample(), "--from", "2", "--to", "5"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith("2,31/12/2013,23:59:59,")) << lines[0].toStdString();
  EXPECT_EQ(lines[3], "5,1/1/2014,0:0:1,0,0,0,0,0,0,0");
  EXPECT_EQ(lines[1].split(',').size(), 10);
  // The whole file by default, and a window clipped to it.
  EXPECT_EQ(Cli({"points", Sample()}).out.count('\n'), 30);
  EXPECT_EQ(Cli({"points", Sample(), "--from", "25", "--to", "1000"}).out.count('\n'), 6);
}

// Every value reads back to the very float the program holds.
TEST_F(InspectorTest, PointValuesReadBackExactly) {
  std::vector<testing::Sample> samples;
  for (int i = 0; i < 400; ++i) samples.push_back({int16_t(i * 163 - 32000), int16_t(i * 7 - 1400), int16_t(256 + i % 13)});
  KvxHead h;
  const QStringList lines = Cli({"points", Write(KvxImage(h, samples))}).out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 400);
  for (int i = 0; i < 400; ++i) {
    RealDataRecord want{};
    ConvertSample(samples[i].x, samples[i].y, samples[i].z, want);
    const QStringList f = lines[i].split(',');
    float got[7];
    for (int c = 0; c < 7; ++c) got[c] = std::strtof(f.value(3 + c).toStdString().c_str(), nullptr);
    ASSERT_EQ(std::memcmp(got, &want.X, sizeof got), 0) << lines[i].toStdString();
  }
}

TEST_F(InspectorTest, SlotsLines) {
  const CliRun r = Cli({"slots", Sample(), "--from", "1", "--to", "10"});
  ASSERT_EQ(r.code, 0);
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 200);
  EXPECT_EQ(lines[0], "1,1,1");
  EXPECT_EQ(lines[23], "24,1,2");
  EXPECT_EQ(lines[1], "2,0,0");
  EXPECT_EQ(lines[199], "200,1,10");
}

TEST_F(InspectorTest, RefusedFilesExitWithTwo) {
  CliRun r = Cli({"info", Write(KvxImage(KvxHead{}, {}))});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.trimmed(), "Data is error !");
  std::vector<unsigned char> big = KvxImage(KvxHead{}, {});
  big.resize(19 + 6 * 327601, 0);
  r = Cli({"info", Write(big, "big.kvx")});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.trimmed(), "Too much data = 327601");
  EXPECT_EQ(Cli({"points", QString::fromStdString(folder_.File("missing.kvx"))}).code, 2);
  EXPECT_EQ(Cli({"slots", QString::fromStdString(folder_.path())}).code, 2);
}

TEST_F(InspectorTest, UsageErrorsExitWith64) {
  EXPECT_EQ(Cli({}).code, 64);
  EXPECT_EQ(Cli({"info"}).code, 64);
  EXPECT_EQ(Cli({"info", Sample(), "--bogus"}).code, 64);
  EXPECT_EQ(Cli({"points", Sample(), "--from", "x"}).code, 64);
  EXPECT_EQ(Cli({"points", Sample(), "--to"}).code, 64);
  EXPECT_EQ(Cli({"nonsense"}).code, 64);
  EXPECT_EQ(Cli({"--help"}).code, 0);
}

TEST_F(InspectorTest, AnyBytesAreHandled) {
  uint32_t seed = 99;
  for (size_t length : {1u, 20u, 27u, 28u, 29u, 33u, 64u, 6001u}) {
    std::vector<unsigned char> b(length);
    for (auto& c : b) {
      seed = seed * 1664525u + 1013904223u;
      c = static_cast<unsigned char>(seed >> 24);
    }
    const QString f = Write(b, "r" + std::to_string(length) + ".kvx");
    for (const char* cmd : {"info", "points", "slots"}) {
      const CliRun r = Cli({cmd, f});
      EXPECT_EQ(r.code, length >= 28 ? 0 : 2) << cmd << " " << length;
    }
  }
}

}  // namespace
}  // namespace accelog
