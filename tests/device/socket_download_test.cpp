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
  std::vector<unsigned char> Memory() const {
    const auto image = sim_->Memory().FileImage();
    return {image.begin(), image.end()};
  }
  std::string Out() const { return folder_.File("out.kvx"); }

  std::unique_ptr<sim::Simulator> sim_;
};

TEST_F(SocketDownloadTest, CorruptedAndDroppedRepliesStillGiveTheWholeMemory) {
  Serve(10000);
  ASSERT_TRUE(BringUp());
  EXPECT_EQ(Command.DeviceIdText, "ACCELOG-SIM1");
  sim::Faults faults;
  faults.corrupt = 0.05;
  faults.drop = 0.01;
  sim_->SetFaults(faults);
  ASSERT_TRUE(RunDownload(Out()));
  ASSERT_EQ(Download.Outcome, DownloadOutcome::Ended) << ui_.Panel(2);
  EXPECT_TRUE(ReadBytes(Out()) == Memory());
  // The faults did happen: more replies than blocks.
  EXPECT_GT(sim_->Replies(), 1250 + 1 + 50);
}

TEST_F(SocketDownloadTest, LateRepliesAreNeverWrittenTwiceOrOutOfOrder) {
  Serve(2000);
  ASSERT_TRUE(BringUp());
  sim::Faults faults;
  faults.late = 0.05;
  faults.late_ms = 150;
  sim_->SetFaults(faults);
  ASSERT_TRUE(RunDownload(Out()));
  ASSERT_EQ(Download.Outcome, DownloadOutcome::Ended) << ui_.Panel(2);
  EXPECT_TRUE(ReadBytes(Out()) == Memory());
  EXPECT_GT(Link.StaleRepliesDiscarded, 0);
}

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
  const auto file = ReadBytes(Out());
  const auto memory = Memory();
  EXPECT_EQ(file.size(), 19u + 120 * 48);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), memory.begin()));
  EXPECT_EQ(Data.MenuCommandCode, 0);
  EXPECT_TRUE(ui_.shown_files.empty());
  // The scan looks for it six times and gives up.
  ASSERT_TRUE(clock_.RunUntil([] { return Link.ScanGaveUp; }, 10000));
  EXPECT_EQ(ui_.Panel(1), "No Device !");
  EXPECT_FALSE(Link.DeviceConnected);
}

TEST_F(SocketDownloadTest, SilentLoggerEndsTheDownloadAfter51Tries) {
  Serve(400);
  ASSERT_TRUE(BringUp());
  Link.StaleReplyGraceMs = 110;  // keep the 51 silent reads short
  sim::Faults faults;
  faults.stop_after = 1 + 3;
  sim_->SetFaults(faults);
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Failed);
  EXPECT_EQ(ReadBytes(Out()).size(), 19u + 3 * 48);
  EXPECT_EQ(sim_->Replies(), 1 + 3 + 51);
}

TEST_F(SocketDownloadTest, NoLoggerOnTheSocket) {
  SetDeviceTransport(MakeTransport("sim:" + folder_.File("nobody.sock")));
  usbDeviceDetect();
  ASSERT_TRUE(clock_.RunUntil([] { return Link.ScanGaveUp; }, 10000));
  EXPECT_EQ(clock_.Now(), 3000);
  EXPECT_EQ(ui_.Panel(1), "No Device !");
}

}  // namespace
}  // namespace accelog::testing
