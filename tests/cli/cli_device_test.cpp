// accelog-sim and accelog-cli as separate processes over a real socket.
#include "cli_fixture.h"

namespace accelog::testing {
namespace {

TEST_F(CliDeviceTest, ScanPrintsTheIdentificationAndSetParamsSendsTheStore) {
  auto sim = StartSim({"--samples", "5", "--id", "TESTLOGGER01", "--verbose"});
  ASSERT_EQ(Cli({"--device", "sim:" + Socket(), "scan"}), 0) << CliErr();
  EXPECT_EQ(CliOut(), "TESTLOGGER01\n");

  // A fixed clock, so the start time defaults to the next full hour after it.
  ASSERT_EQ(Cli({"--device=sim:" + Socket(), "set-params", "--clock", "2026-05-14 14:35:20"}), 0)
      << CliErr();
  EXPECT_NE(CliErr().find("[2] Send parameter ok"), std::string::npos) << CliErr();

  // Five samples: "No data", exit 2, and no file.
  const std::string out = folder_.File("none.kvx");
  EXPECT_EQ(Cli({"--device", "sim:" + Socket(), "download", out}), 2) << CliErr();
  EXPECT_NE(CliErr().find("[2] No data"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliDeviceTest, SetParamsJudgesItsOptionsAsTheDialogsOk) {
  auto sim = StartSim({"--samples", "5", "--verbose"});
  const std::string store = folder_.File("data/accelog/MPInteger.kvx");
  const std::string clock = "2026-05-14 14:35:20";

  // Refused entries: the code, exit 2, no link, nothing sent, nothing written.
  EXPECT_EQ(Cli({"--device", "sim:" + Socket(), "set-params", "--interval", "50", "--limit", "251",
                 "--clock", clock}, 10000),
            2);
  EXPECT_NE(CliErr().find("Data is erro!!=21"), std::string::npos) << CliErr();
  EXPECT_TRUE(ReadBytes(store).empty());  // opened at start-up, never written
  EXPECT_EQ(ReadText(folder_.File("sim.err")).find(" 68 20 17"), std::string::npos);

  ASSERT_EQ(Cli({"--device", "sim:" + Socket(), "set-params", "--port", "7", "--interval", "300",
                 "--unit", "min", "--led", "5", "--critical", "1,2,3", "--record-mode", "critical",
                 "--work-mode", "timing", "--clock", clock, "--start", "2026-05-15 08:00:00",
                 "--limit", "900"}),
            0)
      << CliErr();
  EXPECT_NE(CliErr().find("[2] Send parameter ok"), std::string::npos) << CliErr();
  // The values as stored; the frame made from them is checked with the engine.
  const int16_t recs[24] = {7, 300, 2, 5, 1, 2, 3, 1, 2, 26, 5, 14, 14, 35, 20, 26, 5, 15, 8, 0, 0, 900, 0, 0};
  std::vector<unsigned char> want;
  for (int16_t v : recs) want.insert(want.end(), {uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF)});
  EXPECT_EQ(ReadBytes(store), want);
}

TEST_F(CliDeviceTest, FailuresAndUsage) {
  EXPECT_EQ(Cli({"--device", "sim:" + folder_.File("nobody.sock"), "scan"}), 1);
  EXPECT_NE(CliErr().find("[1] No Device !"), std::string::npos) << CliErr();
  EXPECT_NE(CliErr().find("[1] Scan for usb devices....6"), std::string::npos) << CliErr();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--device", "bogus", "scan"}, {"download"}, {"download", "a.kvx", "b.kvx"}, {"scan", "--fast"},
           {"set-params", "--unit", "sec"}})
    EXPECT_EQ(Cli(args, 5000), 64) << args.back();
}

TEST_F(CliDeviceTest, SignalsStopADownloadKeepingWholeBlocks) {
  auto sim = StartSim({"--samples", "100000"});
  for (int sig : {SIGINT, SIGTERM}) {
    const std::string out = folder_.File("part.kvx");
    std::filesystem::remove(out);
    auto cli = StartCli({"--device", "sim:" + Socket(), "download", out});
    for (int i = 0; i < 1000 && ReadBytes(out).size() < 19 + 10 * 48; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    cli->Signal(sig);
    EXPECT_EQ(cli->Wait(10000), 1) << sig;
    EXPECT_NE(CliErr().find("[2] Download stopped"), std::string::npos) << CliErr();
    const size_t size = ReadBytes(out).size();
    EXPECT_GE(size, 19u + 10 * 48);
    EXPECT_EQ((size - 19) % 48, 0u);
  }
  // A folder is refused before any device work.
  EXPECT_EQ(Cli({"--device", "sim:" + Socket(), "download", folder_.path() + "/"}, 5000), 1);
  EXPECT_NE(CliErr().find("/.kvx: names a folder"), std::string::npos) << CliErr();
}

}  // namespace
}  // namespace accelog::testing
