// accelog-cli spectrum and render --spectrum, run as the program they are.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

TEST(SpectrumCli, JsonShapeAndExitCodes) {
  testing::TempFolder folder;
  auto cli = [&](QStringList args, int points, QByteArray* out = nullptr) {
    testing::WriteBytes(folder.File("f.kvx"), testing::KvxImage({}, testing::Wave(points)));
    QProcess p;
    p.start(ACCELOG_CLI, args.replaceInStrings("FILE", QString::fromStdString(folder.path())));
    EXPECT_TRUE(p.waitForFinished(60000));
    if (out) *out = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  QByteArray out;
  ASSERT_EQ(cli({"spectrum", "FILE/f.kvx", "--json"}, 400, &out), 0);
  const QJsonObject o = QJsonDocument::fromJson(out).object();
  EXPECT_EQ(o["CountPoint"].toInt(), 128);
  EXPECT_EQ(o["labels"][10].toString(), " " + QString::number(5000 * o["F"].toInt()));
  for (const char* axis : {"X", "Y", "Z"}) {
    EXPECT_TRUE(o["magnitudes"][axis].toArray().size() == 128 && o["plot"][axis].toArray().size() == 128) << axis;
  }
  EXPECT_EQ(cli({"spectrum", "FILE/f.kvx"}, 255, &out), 2);
  EXPECT_EQ(out.trimmed(), "Data is error !  <256");
  EXPECT_EQ(cli({"spectrum", "FILE/f.kvx", "--window", "kaiser"}, 400), 64);
  EXPECT_EQ(cli({"render", "FILE/f.kvx", "FILE/s.png", "--spectrum", "--window", "hann"}, 400), 0);
  EXPECT_EQ(cli({"render", "FILE/f.kvx", "FILE/s.png", "--spectrum"}, 30001), 2);
}

}  // namespace
}  // namespace accelog
