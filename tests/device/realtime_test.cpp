// "Real Time Data" against the simulated logger's frame logic on the virtual clock.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "device/realtime.h"
#include "device_fixture.h"
#include "sim/recording.h"

namespace accelog::testing {
namespace {

class LiveUi : public RecordingUi {
 public:
  std::vector<std::string> captions;
  std::vector<bool> marks;
  int points_shown = 0;
  void SetCaption(const std::string& text) override { captions.push_back(text); }
  void SetMenuMark(int item, bool on) override {
    if (item == 9) marks.push_back(on);
  }
  void ShowLivePoint() override { ++points_shown; }
};

class RealTimeTest : public DeviceEngineTest {
 protected:
  void SetUp() override {
    DeviceEngineTest::SetUp();
    SetUi(&ui_);
    auto t = std::make_unique<LoopbackTransport>(sim::MakeRecording(8, 1));
    t_ = t.get();
    SetDeviceTransport(std::move(t));
    ASSERT_TRUE(BringUp());
    ui_.save_name = Out();
  }
  // Starts a run: interval 500 ms, the limit of `kind` (0 minutes, 1 samples).
  void Start(int16_t kind, int16_t limit) {
    MachineParameter.RecordInterval = 500;
    MachineParameter.IntervalUnit = 0;
    MachineParameter.LimitKind = kind;
    MachineParameter.LimitTime = limit;
    File009_Click();
    ASSERT_EQ(RealTime.RealTimeState, 1);
  }
  bool RunToEnd(int64_t limit_ms = 600'000) {
    return clock_.RunUntil([] { return RealTime.DataOutcome != LiveOutcome::Running; }, limit_ms);
  }
  int Sent(int control) const {
    const auto c = t_->Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), control));
  }
  // The file holds n samples, and its head says so.
  void ExpectFileOf(uint32_t n) const {
    const auto f = ReadBytes(Out());
    ASSERT_EQ(f.size(), 19 + 6 * n);
    EXPECT_EQ(uint32_t(f[9]) << 24 | f[10] << 16 | f[11] << 8 | f[12], n);
    EXPECT_EQ(Data.RealFileNumber, 0);
    EXPECT_EQ(Data.MenuCommandCode, 0);
    EXPECT_EQ(RealTime.RealTimeState, 0);
    EXPECT_EQ(ui_.marks, (std::vector<bool>{true, false}));
  }
  std::string Out() const { return folder_.File("live.kvx"); }

  LiveUi ui_;
  LoopbackTransport* t_ = nullptr;
};

TEST_F(RealTimeTest, LimitsEndTheRun) {
  // Count limit 5: the fifth sample requests the stop and ends the run in its tick.
  Start(1, 5);
  ASSERT_TRUE(RunToEnd());
  EXPECT_EQ(RealTime.DataOutcome, LiveOutcome::Stopped);
  EXPECT_EQ(Sent(0x22), 5);
  EXPECT_EQ(ui_.points_shown, 5);
  ExpectFileOf(5);
  EXPECT_EQ(ui_.shown_files, std::vector<std::string>{Out()});

  // Time limit 1 minute: the stop is asked for 121 ticks of 500 ms after the start.
  ui_.marks.clear();
  const int64_t start = clock_.Now();
  Start(0, 1);
  ASSERT_TRUE(clock_.RunUntil([] { return RealTime.RealTimeState != 1; }, 120'000));
  EXPECT_EQ(clock_.Now() - start, 121 * 500);
  ASSERT_TRUE(RunToEnd());
  EXPECT_EQ(RealTime.DataOutcome, LiveOutcome::Stopped);
  ExpectFileOf(static_cast<uint32_t>(Data.CountPoint));
  EXPECT_EQ(Data.CountPoint, 121);
}

TEST_F(RealTimeTest, ElevenRejectedRepliesInARowEndTheRunTenDoNot) {
  for (int rejected : {10, 11}) {
    SCOPED_TRACE(rejected);
    ui_.marks.clear();
    ui_.captions.clear();
    const long first = t_->replies + 2;  // after two good samples
    t_->shape = [=](sim::Packet& p, long n) {
      if (n >= first && n < first + rejected) p[19] ^= 0xFF;
      return true;
    };
    Start(1, 4);
    ASSERT_TRUE(RunToEnd());
    const bool ended = rejected > 10;
    EXPECT_EQ(RealTime.DataOutcome, ended ? LiveOutcome::Rejected : LiveOutcome::Stopped);
    ExpectFileOf(ended ? 2 : 4);
    EXPECT_EQ(ui_.captions[static_cast<size_t>(rejected)], "data is erro!" + std::to_string(rejected));
    // The next good sample gives the caption back.
    EXPECT_EQ(ui_.captions.back(), ended ? "data is erro!11" : "");
    t_->shape = nullptr;
  }
}

TEST_F(RealTimeTest, SecondClicksOnlyStopAtTheNextTick) {
  Start(1, 1000);
  clock_.Advance(1600);  // three samples
  File009_Click();
  EXPECT_EQ(RealTime.RealTimeState, 2);
  File009_Click();  // still stopping: nothing more
  EXPECT_EQ(RealTime.RealTimeState, 2);
  EXPECT_TRUE(Timers.Timer1->IsEnabled());
  ASSERT_TRUE(RunToEnd());
  ExpectFileOf(4);

  // A click in state 3 ends the run at once.
  ui_.marks.clear();
  Start(1, 1000);
  clock_.Advance(600);
  RealTime.RealTimeState = 3;
  File009_Click();
  EXPECT_EQ(RealTime.DataOutcome, LiveOutcome::Stopped);
  ExpectFileOf(1);
  EXPECT_FALSE(Timers.Timer1->IsEnabled());
}

TEST_F(RealTimeTest, EveryEndingKeepsEverySampleWithItsCount) {
  struct Case {
    const char* name;
    std::function<void(LoopbackTransport&)> cut;  // after three samples
    LiveOutcome outcome;
  };
  const Case cases[] = {
      {"unplugged", [](LoopbackTransport& t) { t.open = false; }, LiveOutcome::Rejected},
      {"lost device step",
       [](LoopbackTransport& t) {
         t.paths.clear();
         usbDeviceDetect();
       },
       LiveOutcome::DeviceLost},
      {"file limit",
       [](LoopbackTransport&) {
         const rlimit small{19 + 3 * 6, RLIM_INFINITY};
         setrlimit(RLIMIT_FSIZE, &small);
       },
       LiveOutcome::FileError},
  };
  std::signal(SIGXFSZ, SIG_IGN);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetDeviceEngines();
    t_->paths = {SimulatedDevicePath("/loopback")};
    ASSERT_TRUE(BringUp());
    ui_ = LiveUi{};
    ui_.save_name = Out();
    Start(1, 1000);
    clock_.Advance(1600);
    c.cut(*t_);
    ASSERT_TRUE(RunToEnd());
    const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &none);
    EXPECT_EQ(RealTime.DataOutcome, c.outcome);
    ExpectFileOf(3);
    if (c.outcome == LiveOutcome::FileError) {
      ASSERT_FALSE(ui_.messages.empty());
      EXPECT_NE(ui_.messages.back().find(Out()), std::string::npos) << ui_.messages.back();
    }
  }
}

TEST(SpectrumFileName, EndsInFrequencyKvx) {
  const std::pair<const char*, const char*> cases[] = {
      {"abcde.kvx", "abcdeFrequency.Kvx"},  // 9 characters: the first 5 stay
      {"/d/xFREQUENCY.KVX", "/d/xFREQUENCY.KVX"},
      {"Frequency.Kvx", "FrequencyFrequency.Kvx"},  // 13 characters are too few
      {"/data/run.kvx", "/data/runFrequency.Kvx"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(SpectrumFileName(in), out) << in;
}

}  // namespace
}  // namespace accelog::testing
