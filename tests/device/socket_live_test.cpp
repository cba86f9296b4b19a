// Live captures over a real socket from the simulated logger in its own
// thread, with lost, late and damaged replies; the engines run on the
// virtual clock.
#include <gtest/gtest.h>

#include "device/realtime.h"
#include "device_fixture.h"
#include "sim/recording.h"
#include "sim/simulator.h"

namespace accelog::testing {
namespace {

class SetsUi : public DeviceUi {
 public:
  std::vector<std::vector<uint8_t>> sets;  // the samples of every set shown
  size_t stop_after = 0;
  int late = 0;  // replies taken after a read had given up on them
  void SetCaption(const std::string& text) override {
    late += text == "Data exception ,Equipment in discussion to dial";
  }
  void ShowLiveSet() override {
    std::vector<uint8_t> s;
    for (int i = 20; i <= 1555; ++i) s.push_back(static_cast<uint8_t>(Data.FFTMemory[i]));
    sets.push_back(s);
    if (sets.size() == stop_after) RequestSpectrumStop();
  }
};

struct Mix {
  const char* name;
  sim::Faults faults;
};

class SocketLiveTest : public DeviceEngineTest {
 protected:
  void SetUp() override {
    DeviceEngineTest::SetUp();
    accelog::SetUi(&ui_);
  }
  // A fresh logger with `faults` from its first live reply on, the link up.
  void Serve(const sim::Faults& faults, uint32_t seed = 3) {
    if (sim_) sim_->Stop();
    ResetDeviceEngines();
    ui_ = SetsUi{};
    sim::SimulatorOptions options;
    options.seed = seed;
    sim_ = std::make_unique<sim::Simulator>(sim::MakeRecording(8, seed), options);
    std::string error;
    ASSERT_TRUE(sim_->Start(folder_.File("logger.sock"), &error)) << error;
    SetDeviceTransport(MakeTransport("sim:" + folder_.File("logger.sock")));
    ASSERT_TRUE(BringUp());
    sim_->SetFaults(faults);
  }
  void TearDown() override {
    DeviceEngineTest::TearDown();
    if (sim_) sim_->Stop();
  }
  // Starts "Real Time Data": a sample every 500 ms up to `count` samples.
  void StartLive(int16_t count) {
    ui_.save_name = Out();
    MachineParameter.RecordInterval = 500;
    MachineParameter.IntervalUnit = 0;
    MachineParameter.LimitKind = 1;
    MachineParameter.LimitTime = count;
    File009_Click();
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
  std::vector<uint8_t> IntactSamples() const {
    std::vector<uint8_t> all;
    for (const auto& s : Intact(1)) all.insert(all.end(), s.begin(), s.end());
    return all;
  }
  std::string Out() const { return folder_.File("live.kvx"); }

  SetsUi ui_;
  std::unique_ptr<sim::Simulator> sim_;
};

sim::Faults Random(double lost, double late, double corrupt) {
  sim::Faults f;
  f.drop = lost;
  f.late = late;
  f.late_ms = 180;
  f.corrupt = corrupt;
  return f;
}

sim::Faults LostAt(std::vector<long> replies) {
  sim::Faults f;
  f.drop_at = std::move(replies);
  return f;
}

// Every good reply the logger sent is in the file once, in order, and the
// run ends by its count.
TEST_F(SocketLiveTest, LiveFileHoldsEveryGoodReplyOnceInOrder) {
  const Mix mixes[] = {
      {"lost", Random(0.1, 0, 0)},
      {"late", Random(0, 0.2, 0)},
      {"corrupt", Random(0, 0, 0.15)},
      {"two losses in a row", LostAt({5, 6})},
      {"loss just before the limit", LostAt({29})},
      {"all of them", Random(0.08, 0.1, 0.15)},
  };
  for (const Mix& mix : mixes) {
    SCOPED_TRACE(mix.name);
    Serve(mix.faults);
    StartLive(30);
    ASSERT_TRUE(clock_.RunUntil([] { return RealTime.DataOutcome != LiveOutcome::Running; }, 3'600'000));
    EXPECT_EQ(RealTime.DataOutcome, LiveOutcome::Stopped);
    const auto file = ReadBytes(Out());
    ASSERT_EQ(file.size(), 19u + 30 * 6);
    EXPECT_EQ(uint32_t(file[9]) << 24 | file[10] << 16 | file[11] << 8 | file[12], 30u);
    EXPECT_TRUE(std::vector<uint8_t>(file.begin() + 19, file.end()) == IntactSamples());
    EXPECT_TRUE(sim_->Replies() > 30 || ui_.late > 0);  // the faults did happen
  }
}

// Every set whose 32 blocks all came unharmed is shown once, in order, and
// the last one is the file.
TEST_F(SocketLiveTest, SpectrumShowsEveryGoodSetOnceInOrder) {
  const Mix mixes[] = {
      {"lost", Random(0.01, 0, 0)},
      {"late", Random(0, 0.03, 0)},
      {"corrupt", Random(0, 0, 0.01)},
      {"two losses in a row", LostAt({40, 41})},
      {"loss just before the limit", LostAt({3 * 32 - 1})},
      {"all of them", Random(0.005, 0.02, 0.005)},
  };
  for (const Mix& mix : mixes) {
    SCOPED_TRACE(mix.name);
    Serve(mix.faults);
    ui_.answer_ok = false;  // the fixed file
    ui_.stop_after = 3;
    File011_Click();
    ASSERT_TRUE(clock_.RunUntil([] { return RealTime.SpectrumOutcome != LiveOutcome::Running; }, 3'600'000));
    EXPECT_EQ(RealTime.SpectrumOutcome, LiveOutcome::Stopped);
    EXPECT_EQ(ui_.sets.size(), 3u);
    EXPECT_TRUE(ui_.sets == Intact(32));
    const auto file = ReadBytes(ProgramFile(kSpectrumCancelName));
    ASSERT_EQ(file.size(), 1555u);
    EXPECT_TRUE(std::vector<uint8_t>(file.begin() + 19, file.end()) == ui_.sets.back());
  }
}

TEST_F(SocketLiveTest, UnplugEndsTheCaptureWithinTwoPeriodsKeepingEverySample) {
  sim::Faults unplug;
  unplug.close_after = 5;
  Serve(unplug);
  StartLive(1000);
  ASSERT_TRUE(clock_.RunUntil([] { return Data.CountPoint == 5; }, 60'000));
  const int64_t fifth = clock_.Now();
  ASSERT_TRUE(clock_.RunUntil([] { return RealTime.DataOutcome != LiveOutcome::Running; }, 60'000));
  EXPECT_LE(clock_.Now() - fifth, 2 * 500);
  EXPECT_EQ(RealTime.DataOutcome, LiveOutcome::DeviceLost);
  EXPECT_EQ(ui_.Panel(1), "No Device !");
  EXPECT_FALSE(Link.LinkConfirmed);
  EXPECT_EQ(Data.MenuCommandCode, 0);
  const auto file = ReadBytes(Out());
  ASSERT_EQ(file.size(), 19u + 5 * 6);
  EXPECT_EQ(file[12], 5);
  EXPECT_TRUE(std::vector<uint8_t>(file.begin() + 19, file.end()) == IntactSamples());
}

}  // namespace
}  // namespace accelog::testing
