// Downloads over a real socket from the simulated logger in its own thread,
// with faults on the replies; the engines run on the virtual clock.
#include <gtest/gtest.h>

#include "device_fixture.h"
#include "sim/recording.h"
#include "sim/simulator.h"

namespace accelog::testing {
namespace {

class SocketDownloadTest : public DeviceEngineTest {
 protected:
  void Serve(uint32_t samples, uint32_t seed = 11) {
    sim::SimulatorOptions options;
    options.seed = seed;
    sim_ = std::make_unique<sim::Simulator>(sim::MakeRecording(samples, seed), options);
    std::string error;
    ASSERT_TRUE(sim_->Start(folder_.File("logger.sock"), &error)) << error;
    SetDeviceTransport(MakeTransport("sim:" + folder_.File("logger.sock")));
  }
  void TearDown() override {
    DeviceEngineTest::TearDown();
    if (sim_) sim_->Stop();
  }
  std::vector<unsigned char> Memory(size_t bytes = SIZE_MAX) const {
    return DownloadCutTo(sim_->Memory().FileImage(), bytes);
  }
  std::string Out() const { return folder_.File("out.kvx"); }

  std::unique_ptr<sim::Simulator> sim_;
};

struct Mix {
  const char* name;
  double late, drop, corrupt;
  int late_ms;
};
void PrintTo(const Mix& m, std::ostream* os) { *os << m.name; }

class FaultMixTest : public SocketDownloadTest,
                     public ::testing::WithParamInterface<std::tuple<Mix, uint32_t>> {};

// Replies up to 900 ms late, lost or damaged: the file is the memory, byte
// for byte. Counts around a block boundary (199, 200, 201 samples).
TEST_P(FaultMixTest, FileIsTheMemory) {
  const auto [mix, seed] = GetParam();
  const uint32_t samples = 199 + seed % 3;
  Serve(samples, seed);
  ASSERT_TRUE(BringUp());
  sim::Faults faults;
  faults.late = mix.late;
  faults.late_ms = mix.late_ms;
  faults.drop = mix.drop;
  faults.corrupt = mix.corrupt;
  sim_->SetFaults(faults);
  ASSERT_TRUE(RunDownload(Out()));
  ASSERT_EQ(Download.Outcome, DownloadOutcome::Ended) << ui_.Panel(2);
  EXPECT_TRUE(ReadBytes(Out()) == Memory());
  EXPECT_GT(sim_->Replies(), (samples + 7) / 8 + 1);  // the faults did happen
}

INSTANTIATE_TEST_SUITE_P(
    Mixes, FaultMixTest,
    ::testing::Combine(::testing::Values(Mix{"late400", 0.15, 0, 0, 400}, Mix{"late900", 0.1, 0, 0, 900},
                                         Mix{"drop", 0, 0.1, 0, 0}, Mix{"corrupt", 0, 0, 0.2, 0},
                                         Mix{"mix", 0.05, 0.03, 0.05, 700}),
                       ::testing::Values(1u, 2u, 3u)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_seed" + std::to_string(std::get<1>(info.param));
    });

TEST_F(SocketDownloadTest, UnplugMidDownloadKeepsEveryBlockReceived) {
  Serve(4000);
  ASSERT_TRUE(BringUp());
  sim::Faults faults;
  faults.close_after = 1 + 120;  // the inquiry and 120 blocks
  sim_->SetFaults(faults);
  ASSERT_TRUE(RunDownload(Out(), 600'000));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Failed);
  EXPECT_EQ(ui_.Panel(2), "Download failed");
  EXPECT_TRUE(sim_->Unplugged());
  EXPECT_TRUE(ReadBytes(Out()) == Memory(19 + 120 * 48)) << ReadBytes(Out()).size() << " " << ui_.messages.back();
  EXPECT_EQ(Data.MenuCommandCode, 0);
  EXPECT_TRUE(ui_.shown_files.empty());
  // The scan looks for it six times and gives up.
  ASSERT_TRUE(clock_.RunUntil([] { return Link.ScanGaveUp; }, 10000));
  EXPECT_EQ(ui_.Panel(1), "No Device !");
}

TEST_F(SocketDownloadTest, SilentLoggerEndsTheDownloadAfter51Tries) {
  Serve(400);
  ASSERT_TRUE(BringUp());
  sim::Faults faults;
  faults.stop_after = 1 + 3;
  sim_->SetFaults(faults);
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Failed);
  EXPECT_TRUE(ReadBytes(Out()) == Memory(19 + 3 * 48));
}

}  // namespace
}  // namespace accelog::testing
