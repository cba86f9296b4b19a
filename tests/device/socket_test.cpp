// Downloads and live captures over a real socket from the simulated logger
// in its own thread, with lost, late and damaged replies; the engines run on
// the virtual clock.
#include <gtest/gtest.h>

#include "device_fixture.h"
#include "sim/simulator.h"

namespace accelog::testing {
namespace {

struct Mix {
  const char* name;
  sim::Faults faults;
};

class SocketTest : public DeviceEngineTest {
 protected:
  void TearDown() override {
    dev_.reset();
    if (sim_) sim_->Stop();
  }
  // A fresh logger holding `samples`, the link up, `faults` from then on.
  void Serve(uint32_t samples, uint32_t seed, const sim::Faults& faults = {}) {
    if (sim_) sim_->Stop();
    dev_.reset();
    ui_ = DeviceUi{};
    sim_ = std::make_unique<sim::Simulator>(sim::MakeRecording(samples, seed), sim::SimulatorOptions{.seed = seed});
    std::string error;
    ASSERT_TRUE(sim_->Start(folder_.File("logger.sock"), &error)) << error;
    Install(MakeTransport("sim:" + folder_.File("logger.sock")), true);
    ASSERT_TRUE(BringUp());
    sim_->SetFaults(faults);
  }
  // The data of each run of n replies (one request's) that all went out unharmed.
  std::vector<std::vector<uint8_t>> Intact(size_t n) const {
    const auto history = sim_->History();
    std::vector<std::vector<uint8_t>> groups;
    for (size_t first = 0; first + n <= history.size(); first += n) {
      std::vector<uint8_t> data;
      bool whole = true;
      for (size_t r = first; r < first + n; ++r) {
        whole = whole && history[r].intact;
        data.insert(data.end(), history[r].frame.begin() + 13, history[r].frame.end() - 2);
      }
      if (whole) groups.push_back(data);
    }
    return groups;
  }
  // The samples of a live file, which must be every intact reply's.
  void ExpectIntactSamples(const std::vector<unsigned char>& file) const {
    std::vector<uint8_t> all;
    for (const auto& s : Intact(1)) all.insert(all.end(), s.begin(), s.end());
    EXPECT_TRUE(std::vector<uint8_t>(file.begin() + 19, file.end()) == all);
  }
  std::vector<unsigned char> Memory(size_t bytes = SIZE_MAX) const {
    return DownloadCutTo(sim_->Memory().FileImage(), bytes);
  }

  std::unique_ptr<sim::Simulator> sim_;
};

class DownloadFaultTest : public SocketTest, public ::testing::WithParamInterface<std::tuple<Mix, uint32_t>> {};

// Replies up to 900 ms late, lost or damaged: the file is the memory, byte
// for byte. Counts around a block boundary (199, 200, 201 samples).
TEST_P(DownloadFaultTest, FileIsTheMemory) {
  const auto [mix, seed] = GetParam();
  const uint32_t samples = 199 + seed % 3;
  Serve(samples, seed, mix.faults);
  ASSERT_TRUE(RunDownload(Out()));
  ASSERT_EQ(dev_->download.Outcome, DownloadOutcome::Ended) << ui_.Panel(2);
  EXPECT_TRUE(ReadBytes(Out()) == Memory());
  EXPECT_GT(sim_->Replies(), (samples + 7) / 8 + 1);  // the faults did happen
}

INSTANTIATE_TEST_SUITE_P(
    Mixes, DownloadFaultTest,
    ::testing::Combine(::testing::Values(Mix{"late400", {.late = 0.15, .late_ms = 400}}, Mix{"late900", {.late = 0.1, .late_ms = 900}},
                                         Mix{"drop", {.drop = 0.1}}, Mix{"corrupt", {.corrupt = 0.2}},
                                         Mix{"mix", {.corrupt = 0.05, .drop = 0.03, .late = 0.05, .late_ms = 700}}),
                       ::testing::Values(1u, 2u, 3u)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_seed" + std::to_string(std::get<1>(info.param));
    });

// Under each fault mix, every good reply the logger sent is in a live file
// once, in order, and the run ends by its count; every spectrum set whose 32
// blocks all came unharmed is shown once, in order, and the last one is the file.
TEST_F(SocketTest, LiveAndSpectrumKeepEveryGoodReplyOnceInOrder) {
  const struct {
    const char* name;
    sim::Faults live, spectrum;  // the spectrum's per block, 32 to a set
  } mixes[] = {
      {"lost", {.drop = 0.1}, {.drop = 0.01}},
      {"late", {.late = 0.2, .late_ms = 180}, {.late = 0.03, .late_ms = 180}},
      {"corrupt", {.corrupt = 0.15}, {.corrupt = 0.01}},
      {"two losses in a row", {.drop_at = {5, 6}}, {.drop_at = {40, 41}}},
      {"loss just before the limit", {.drop_at = {29}}, {.drop_at = {3 * 32 - 1}}},
      {"all of them", {.corrupt = 0.15, .drop = 0.08, .late = 0.1, .late_ms = 180},
       {.corrupt = 0.005, .drop = 0.005, .late = 0.02, .late_ms = 180}},
  };
  for (const auto& mix : mixes) {
    SCOPED_TRACE(mix.name);
    Serve(8, 3, mix.live);
    StartLive(1, 30);
    ASSERT_TRUE(RunLive());
    EXPECT_EQ(dev_->live.DataOutcome, LiveOutcome::Stopped);
    auto file = ReadBytes(Out());
    ASSERT_EQ(file.size(), 19u + 30 * 6);
    EXPECT_EQ(HeadCount(file), 30u);
    ExpectIntactSamples(file);
    // The faults did happen: more replies than samples, or one taken after its read gave up.
    EXPECT_TRUE(sim_->Replies() > 30 || std::ranges::count(ui_.captions, "Data exception ,Equipment in discussion to dial"));

    Serve(8, 3, mix.spectrum);
    ui_.answer_ok = false;  // the fixed file
    ui_.stop_after = 3;
    ToggleLiveSpectrum(*dev_);
    ASSERT_TRUE(clock_.RunUntil([&] { return dev_->live.SpectrumOutcome != LiveOutcome::Running; }, 3'600'000));
    EXPECT_EQ(dev_->live.SpectrumOutcome, LiveOutcome::Stopped);
    EXPECT_EQ(ui_.sets.size(), 3u);
    EXPECT_TRUE(ui_.sets == Intact(32));
    file = ReadBytes(ProgramFile(kSpectrumCancelName));
    ASSERT_EQ(file.size(), 1555u);
    EXPECT_TRUE(std::vector<uint8_t>(file.begin() + 19, file.end()) == ui_.sets.back());
  }
}

// The logger leaves mid-run: every block or sample that came is kept, and
// the scan, looking for it six times, gives up.
TEST_F(SocketTest, UnplugMidDownloadKeepsEveryBlockReceived) {
  Serve(4000, 11, {.close_after = 1 + 120});  // the inquiry and 120 blocks
  ASSERT_TRUE(RunDownload(Out(), 600'000));
  EXPECT_EQ(dev_->download.Outcome, DownloadOutcome::Failed);
  EXPECT_EQ(ui_.Panel(2), "Download failed");
  EXPECT_TRUE(sim_->Unplugged());
  EXPECT_FALSE(std::filesystem::exists(folder_.File("logger.sock")));  // an unplugged logger leaves no socket
  EXPECT_TRUE(ReadBytes(Out()) == Memory(19 + 120 * 48)) << ReadBytes(Out()).size() << " " << ui_.messages.back();
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
  EXPECT_TRUE(ui_.shown_files.empty());
  ASSERT_TRUE(clock_.RunUntil([&] { return dev_->link.ScanGaveUp; }, 10000));
  EXPECT_EQ(ui_.Panel(1), "No Device !");
}

TEST_F(SocketTest, UnplugEndsTheCaptureWithinTwoPeriodsKeepingEverySample) {
  Serve(8, 3, {.close_after = 5});
  StartLive(1, 1000);
  ASSERT_TRUE(clock_.RunUntil([this] { return data_.CountPoint == 5; }, 60'000));
  const int64_t fifth = clock_.Now();
  ASSERT_TRUE(RunLive());
  EXPECT_LE(clock_.Now() - fifth, 2 * 500);
  EXPECT_EQ(dev_->live.DataOutcome, LiveOutcome::DeviceLost);
  EXPECT_EQ(ui_.Panel(1), "No Device !");
  EXPECT_FALSE(dev_->link.LinkConfirmed);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
  const auto file = ReadBytes(Out());
  ASSERT_EQ(file.size(), 19u + 5 * 6);
  EXPECT_EQ(file[12], 5);
  ExpectIntactSamples(file);
}

}  // namespace
}  // namespace accelog::testing
