// accelog-cli live against accelog-sim as separate processes.
#include "cli_fixture.h"
#include "sim/recording.h"
#include "support/kvx_builder.h"

namespace accelog::testing {
namespace {

// The first n live samples of a simulator seeded with `seed`: its motion from sample 0.
std::vector<unsigned char> LiveSamples(uint32_t seed, int n) {
  const auto bytes = sim::MakeRecording(static_cast<uint32_t>(n), seed).samples;
  return {bytes.begin(), bytes.end()};
}

TEST_F(CliDeviceTest, LiveRunsToItsLimitOrToAStopSignal) {
  auto sim = StartSim({"--seed", "5"});
  const std::string device = "sim:" + Socket();

  // Not a number: a usage error, and no file. The keypad's refusals: FileCommandsTest.ExitCodesOfEveryCommand.
  const std::string refused = folder_.File("refused.kvx");
  EXPECT_EQ(Cli({"--device", device, "live", refused, "--interval", "500x"}, 10000), 64);
  EXPECT_NE(CliErr().find("--interval wants a number, not '500x'"), std::string::npos) << CliErr();
  EXPECT_FALSE(std::filesystem::exists(refused));

  // Count limit 3: the logger's first three live samples, and their count in the head.
  const std::string out = folder_.File("live.kvx");
  ASSERT_EQ(Cli({"--device", device, "live", out, "--unit", "ms", "--limit", "3", "--limit-kind", "count"}),
            0)
      << CliErr();
  EXPECT_EQ(CliOut(), out + "\n");
  auto file = ReadBytes(out);
  ASSERT_EQ(file.size(), 19u + 18);
  EXPECT_EQ(HeadCount(file), 3u);
  EXPECT_TRUE(std::vector<unsigned char>(file.begin() + 19, file.end()) == LiveSamples(5, 3));
  EXPECT_NE(CliErr().find("samples: 3"), std::string::npos) << CliErr();

  // SIGINT is the second click: the run ends normally with what arrived.
  EXPECT_EQ(Cli({"--device", device, "live", out}, 5000), 1);  // exists, no --overwrite
  Process run({ACCELOG_CLI, "--device", device, "live", out, "--overwrite", "--limit", "1000"},
              folder_.File("cli.out"), folder_.File("cli.err"));
  for (int i = 0; i < 500 && CliErr().find("samples: 2") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  run.Signal(SIGINT);
  ASSERT_EQ(run.Wait(10000), 0) << CliErr();
  file = ReadBytes(out);
  EXPECT_GE(HeadCount(file), 2u);
  EXPECT_EQ(file.size(), 19 + 6 * HeadCount(file));
}

// The samples of the 0x22 replies the logger's frame log shows going out unharmed.
std::vector<unsigned char> IntactLiveSamples(const std::string& log) {
  std::vector<unsigned char> samples;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("-> ", 0) != 0 || line.find("(corrupt)") != std::string::npos) continue;
    std::istringstream hex(line.substr(line.find("FE")));
    std::vector<unsigned char> frame;
    for (unsigned b; hex >> std::hex >> b;) frame.push_back(static_cast<unsigned char>(b));
    if (frame.size() == 21 && frame[11] == 0xA2) samples.insert(samples.end(), frame.begin() + 13, frame.begin() + 19);
  }
  return samples;
}

// The logger loses, delays and damages its replies: every good one it sent
// is in the file once, in order, and the run ends by its count.
TEST_F(CliDeviceTest, LiveKeepsEveryGoodReplyOfAFaultyLogger) {
  auto sim = StartSim({"--seed", "1", "--corrupt", "0.15", "--drop", "0.2", "--late", "0.1", "--late-ms", "180",
                       "--verbose"});
  const std::string out = folder_.File("cap.kvx");
  ASSERT_EQ(Cli({"--device", "sim:" + Socket(), "live", out, "--interval", "500", "--unit", "ms", "--limit", "12",
                 "--limit-kind", "count"}),
            0)
      << CliErr();
  const auto file = ReadBytes(out);
  ASSERT_EQ(file.size(), 19u + 12 * 6);
  EXPECT_EQ(HeadCount(file), 12u);
  const std::string log = ReadText(folder_.File("sim.err"));
  EXPECT_NE(log.find("-- dropped"), std::string::npos);
  EXPECT_TRUE(std::vector<unsigned char>(file.begin() + 19, file.end()) == IntactLiveSamples(log)) << log;

  // A parameter store that cannot be written is reported, and nothing is captured.
  const std::string store = folder_.File("data/accelog/MPInteger.kvx");
  std::filesystem::remove(store);
  std::filesystem::create_directory(store);
  const std::string refused = folder_.File("refused.kvx");
  EXPECT_EQ(Cli({"--device", "sim:" + Socket(), "live", refused}), 1);
  EXPECT_NE(CliErr().find("The parameters were not saved: "), std::string::npos) << CliErr();
  EXPECT_FALSE(std::filesystem::exists(refused));
}

TEST_F(CliDeviceTest, LiveSpectrumWritesTheLastSetItShowed) {
  auto sim = StartSim({"--seed", "5"});
  const std::string fixed = folder_.File("data/accelog/123Frequency.Kvx");
  ASSERT_EQ(Cli({"--device", "sim:" + Socket(), "live-spectrum", "--sets", "2", "--json"}), 0) << CliErr();
  const auto file = ReadBytes(fixed);
  ASSERT_EQ(file.size(), 1555u);
  const auto all = LiveSamples(5, 512);
  EXPECT_TRUE(std::vector<unsigned char>(file.begin() + 19, file.end()) ==
              std::vector<unsigned char>(all.begin() + 256 * 6, all.end()));

  // One line a set.
  const std::string out = CliOut();
  EXPECT_TRUE(std::count(out.begin(), out.end(), '\n') == 2 && out.ends_with('\n')) << out;
  EXPECT_EQ(out.rfind("{\"set\": 1, \"peaks\": {\"X\": ", 0), 0u) << out;
  EXPECT_NE(out.find("\n{\"set\": 2, "), std::string::npos) << out;

  // With OUT: the name rule, the final name printed.
  ASSERT_EQ(Cli({"--device", "sim:" + Socket(), "live-spectrum", folder_.File("abcde"), "--sets", "1"}), 0)
      << CliErr();
  EXPECT_EQ(CliOut(), folder_.File("abcdeFrequency.Kvx") + "\n");
  EXPECT_EQ(ReadBytes(folder_.File("abcdeFrequency.Kvx")).size(), 1555u);
}

}  // namespace
}  // namespace accelog::testing
