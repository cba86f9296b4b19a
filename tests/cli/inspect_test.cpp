// accelog-cli info / points / slots, run as a separate program.
#include <gtest/gtest.h>

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
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class InspectorTest : public ::testing::Test {
 protected:
  QString Write(const std::vector<unsigned char>& bytes, const std::string& name = "f.kvx") {
    testing::WriteBytes(folder_.File(name), bytes);
    return QString::fromStdString(folder_.File(name));
  }
  // 30 points from 31/12/2013 23:59:59, one of them all zero.
  QString Sample(KvxHead h = {.count = 30}) {
    h.year = 13, h.month = 12, h.day = 31, h.hour = 23, h.minute = 59, h.second = 59;
    auto s = testing::Wave(30);
    s[4] = {0, 0, 0};
    s[7] = {400, 0, 0};
    return Write(KvxImage(h, s));
  }
  testing::TempFolder folder_;
};

// The numbers themselves are checked in-process; here the JSON shape.
TEST_F(InspectorTest, InfoAsJson) {
  const CliRun r = Cli({"info", Sample(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
  EXPECT_EQ(o["CountPointNoZero"].toInt(), 29);
  EXPECT_EQ(o["stats"].toObject()["X"].toObject()["maxPoint"].toInt(), 8);
  EXPECT_EQ(o["texts"].toObject()["max"].toObject()["X"].toString(), "1560   1/1/2014 0:0:2");
  EXPECT_FALSE(o["Incomplete"].toBool(true));
}

// A download that stopped: the head counts 8000, the file holds 30.
TEST_F(InspectorTest, AShortDownloadSaysSo) {
  const QString file = Sample({.count = 8000});
  const QJsonObject o = QJsonDocument::fromJson(Cli({"info", file, "--json"}).out.toUtf8()).object();
  EXPECT_TRUE(o["Incomplete"].toBool(false));
  EXPECT_TRUE(Cli({"info", file}).out.contains("\nIncomplete         30 of 8000 samples: the download was not finished\n"));
  EXPECT_FALSE(Cli({"info", Sample({.count = 30})}).out.contains("Incomplete"));
}

TEST_F(InspectorTest, PointsAndSlotsLines) {
  CliRun r = Cli({"points", Sample(), "--from", "2", "--to", "5"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[3], "5,1/1/2014,0:0:1,0,0,0,0,0,0,0");
  EXPECT_EQ(Cli({"points", Sample(), "--from", "25", "--to", "1000"}).out.count('\n'), 6);
  const QStringList columns = Cli({"slots", Sample(), "--from", "1", "--to", "10"}).out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(columns.size(), 200);
  EXPECT_EQ(columns[199], "200,1,10");
}

// Every value reads back to the very float the program holds.
TEST_F(InspectorTest, PointValuesReadBackExactly) {
  std::vector<testing::Sample> samples;
  for (int i = 0; i < 400; ++i) samples.push_back({int16_t(i * 163 - 32000), int16_t(i * 7 - 1400), int16_t(256 + i % 13)});
  const QStringList lines = Cli({"points", Write(KvxImage(KvxHead{}, samples))}).out.split('\n', Qt::SkipEmptyParts);
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

TEST_F(InspectorTest, ExitCodes) {
  const QString empty = Write(KvxImage(KvxHead{}, {}), "empty.kvx");
  const struct {
    QStringList args;
    int code;
  } cases[] = {
      {{"info", empty}, 2},
      {{"points", QString::fromStdString(folder_.File("missing.kvx"))}, 1},
      {{}, 64},
      {{"info"}, 64},
      {{"points", Sample(), "--from", "x"}, 64},
      {{"--help"}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Cli(c.args).code, c.code) << c.args.join(' ').toStdString();
  EXPECT_EQ(Cli({"info", empty}).err.trimmed(), "Data is error !");

  // A file that cannot be read is named with the reason (exit 1); a text
  // file is no logger file (exit 2), named with the field that shows it.
  const QString missing = QString::fromStdString(folder_.File("missing.kvx"));
  CliRun r = Cli({"info", missing});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.trimmed(), "accelog-cli: " + missing + ": the file does not exist");
  r = Cli({"info", QString::fromStdString(folder_.path())});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.err.contains("Is a directory")) << r.err.toStdString();
  std::string text;
  for (int i = 0; i < 20; ++i) text += "2026-12-07 23:4" + std::to_string(i % 10) + ":00 sim: sample sent\n";
  const QString log = Write({text.begin(), text.end()}, "sim.log");
  r = Cli({"info", log});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.trimmed(), log + ": not a logger file (interval unit 50)");
  EXPECT_TRUE(r.out.isEmpty());
}

}  // namespace
}  // namespace accelog
