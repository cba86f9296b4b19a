// accelog-sim and accelog-cli as separate processes over a real socket.
#include "cli_fixture.h"

#include <sstream>

namespace accelog::testing {
namespace {

TEST_F(CliDeviceTest, ScanPrintsTheIdentificationAndAnEmptyLoggerGivesNoFile) {
  auto sim = StartSim({"--samples", "5", "--id", "TESTLOGGER01", "--verbose"});
  ASSERT_EQ(Cli({"--device=sim:" + Socket(), "scan"}), 0) << CliErr();  // the option's other spelling
  EXPECT_EQ(CliOut(), "TESTLOGGER01\n");

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

  // Refused entries, by the keypad of their box or by OK, with the window's
  // explanation: exit 2, no link, nothing sent, nothing written. Words that
  // are not numbers are usage errors.
  const struct {
    std::vector<std::string> args;
    int code;
    std::vector<std::string> said;
  } refusals[] = {
      {{"--interval", "50", "--limit", "251"}, 2,
       {"Data is erro!!=21\n", "With millisecond intervals the limit time gives more than 300000 points"}},
      {{"--interval", "10", "--unit", "ms"}, 2,
       {"Data is small\n", "--interval 10: the keypad takes 50 to 32767 with --unit ms\n"}},
      {{"--interval", "100", "--limit", "600"}, 2,
       {"Data is too big\n", "--limit 600: the keypad takes 1 to 546 with --interval 100 --unit ms\n"}},
      {{"--led", "2.5"}, 2, {"Decimal digits too much  = 1\n"}},
      {{"--start", "2031-01-01 00:00:00"}, 2, {"Data is too big\n", "--start year 31: the keypad takes 13 to 30"}},
      {{"--start", "2028-01-01 00:00:00"}, 2,
       {"Data is erro!!=22\n", "The start year must be this year or next year: change Start Record Time, Year.\n"}},
      {{"--interval", "abc"}, 64, {"--interval wants a number, not 'abc'"}},
      {{"--critical", "1,2,3z"}, 64, {"--critical wants a number, not '3z'"}},
      {{"--limit", " 5"}, 64, {"--limit wants a number"}},
  };
  for (const auto& r : refusals) {
    std::vector<std::string> args = {"--device", "sim:" + Socket(), "set-params", "--clock", clock};
    args.insert(args.end(), r.args.begin(), r.args.end());
    EXPECT_EQ(Cli(args, 10000), r.code) << r.args[0] << " " << r.args[1];
    for (const std::string& text : r.said) EXPECT_NE(CliErr().find(text), std::string::npos) << CliErr();
  }
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

// Every command explains itself: its own usage and every option the
// top-level help gives it, exit 0, without touching a device.
TEST_F(CliDeviceTest, EveryCommandTakesHelp) {
  ASSERT_EQ(Cli({"--help"}), 0);
  std::istringstream help(CliOut());
  int commands = 0;
  for (std::string line; std::getline(help, line);) {
    const std::string lead = "  or:  accelog-cli ";
    if (line.rfind(lead, 0) != 0) continue;
    std::istringstream words(line.substr(lead.size()));
    std::string name;
    std::vector<std::string> options;
    for (std::string w; words >> w;) {
      if (name.empty() && w[0] != '[' && w != "URI]") name = w;
      const size_t dash = w.find("--");
      if (dash != std::string::npos) options.push_back(w.substr(dash, w.find_first_of("=]| ", dash) - dash));
    }
    ++commands;
    for (const char* ask : {"--help", "-h"}) {
      ASSERT_EQ(Cli({name, "x.kvx", ask}, 5000), 0) << name << " " << ask << ": " << CliErr();
      const std::string out = CliOut();
      EXPECT_EQ(out.rfind("Usage: accelog-cli ", 0), 0u) << out;
      EXPECT_NE(out.substr(0, out.find('\n') + 1).find(" " + name), std::string::npos) << out;
      for (const std::string& o : options) EXPECT_NE(out.find("  " + o), std::string::npos) << name << " lacks " << o;
    }
  }
  EXPECT_EQ(commands, 15);
}

TEST_F(CliDeviceTest, NoLoggerAfterSixScans) {
  EXPECT_EQ(Cli({"--device", "sim:" + folder_.File("nobody.sock"), "scan"}), 1);
  EXPECT_NE(CliErr().find("[1] No Device !"), std::string::npos) << CliErr();
  EXPECT_NE(CliErr().find("[1] Scan for usb devices....6"), std::string::npos) << CliErr();
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
