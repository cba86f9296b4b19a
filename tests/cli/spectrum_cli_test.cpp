// accelog-cli spectrum and render --spectrum, run as the program they are.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QProcess>

#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

struct CliRun {
  int code;
  QByteArray out, err;
};

CliRun Cli(const QStringList& args) {
  QProcess p;
  p.start(ACCELOG_CLI, args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

TEST(SpectrumCli, JsonShapeRefusalsAndTheRenderedView) {
  testing::TempFolder folder;
  const auto file = [&](int n) {
    const std::string path = folder.File(std::to_string(n) + ".kvx");
    testing::WriteBytes(path, testing::KvxImage({}, testing::Wave(n)));
    return QString::fromStdString(path);
  };
  const CliRun r = Cli({"spectrum", file(400), "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  QJsonParseError e;
  const QJsonObject o = QJsonDocument::fromJson(r.out, &e).object();
  ASSERT_EQ(e.error, QJsonParseError::NoError) << r.out.toStdString();
  EXPECT_EQ(o["CountPoint"].toInt(), 128);
  const int f = o["F"].toInt();
  ASSERT_GE(f, 1);
  const QJsonArray labels = o["labels"].toArray();
  ASSERT_EQ(labels.size(), 11);
  EXPECT_EQ(labels[10].toString().trimmed().toInt(), 5000 * f);
  for (const char* axis : {"X", "Y", "Z"}) {
    const QJsonArray m = o["magnitudes"][axis].toArray(), plot = o["plot"][axis].toArray();
    ASSERT_EQ(m.size(), 128);
    ASSERT_EQ(plot.size(), 128);
    int peak = 1;
    for (int i = 0; i < 128; ++i) {
      if (m[i].toInt() > m[peak - 1].toInt()) peak = i + 1;
      EXPECT_NEAR(plot[i].toInt(), 5000 - m[i].toDouble() / f, 0.5);
    }
    EXPECT_EQ(o["peaks"][axis].toInt(), peak) << axis;
  }
  EXPECT_EQ(Cli({"spectrum", file(400), "--window", "hann"}).code, 0);

  const CliRun few = Cli({"spectrum", file(255)});
  EXPECT_EQ(few.code, 2);
  EXPECT_EQ(few.err.trimmed(), "Data is error !  <256");
  EXPECT_TRUE(few.out.isEmpty());
  EXPECT_EQ(Cli({"spectrum", file(400), "--window", "kaiser"}).code, 64);
  EXPECT_EQ(Cli({"spectrum"}).code, 64);

  const QString png = QString::fromStdString(folder.File("s.png"));
  EXPECT_EQ(Cli({"render", file(400), png, "--spectrum", "--window", "hann", "--cursor", "20"}).code, 0);
  EXPECT_GT(QFileInfo(png).size(), 1000);
  EXPECT_EQ(Cli({"render", file(255), png, "--spectrum"}).code, 2);
}

}  // namespace
}  // namespace accelog
