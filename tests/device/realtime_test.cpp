// "Real Time Data" against the simulated logger's frame logic on the virtual clock.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <ctime>

#include "device_fixture.h"

namespace accelog::testing {
namespace {

class RealTimeTest : public DeviceEngineTest {
 protected:
  void SetUp() override {
    DeviceEngineTest::SetUp();
    ASSERT_TRUE(Fresh(8));
  }
  // The file holds n samples, and its head says so.
  void ExpectFileOf(uint32_t n) const {
    const auto f = ReadBytes(Out());
    ASSERT_EQ(f.size(), 19 + 6 * n);
    EXPECT_EQ(HeadCount(f), n);
    EXPECT_EQ(data_.RealFileNumber, 0);
    EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
    EXPECT_EQ(dev_->live.Data, CaptureState::Idle);
    EXPECT_EQ(ui_.marks, (std::vector<bool>{true, false}));
  }
};

TEST_F(RealTimeTest, LimitsEndTheRun) {
  // Count limit 5: the fifth sample requests the stop and ends the run in its tick.
  ui_.StatusPanel(2, "Download End");
  ui_.StatusPanel(4, "12    12");
  data_.Head.StartYear = 3;  // the last file's start
  StartLive(1, 5);
  EXPECT_EQ(ui_.Panel(2), " ");  // nothing of the download stays
  EXPECT_EQ(ui_.Panel(4), " ");
  ASSERT_TRUE(RunLive());
  // The statistics' start is the capture's first sample.
  const auto head = ReadBytes(Out());
  const auto& p = params_;
  EXPECT_EQ(std::vector<int>(head.begin() + 13, head.begin() + 19),
            (std::vector<int>{p.StartYear, p.StartMonth, p.StartDay, p.StartHour, p.StartMinute, p.StartSecond}));
  EXPECT_EQ(dev_->live.DataOutcome, LiveOutcome::Stopped);
  EXPECT_EQ(loop_->Sent(0x22), 5);
  EXPECT_EQ(ui_.points_shown, 5);
  ExpectFileOf(5);
  EXPECT_EQ(ui_.shown_files, std::vector<std::string>{Out()});

  // Time limit 300 minutes, past what 16 bits count: the stop is asked for
  // 36001 ticks of 500 ms after the start; a sample a minute.
  ui_.marks.clear();
  const int64_t start = clock_.Now();
  params_.RecordInterval = 60;
  params_.IntervalUnit = 1;
  params_.LimitKind = 0;
  params_.LimitTime = 300;
  ToggleLiveCapture(*dev_);
  ASSERT_TRUE(clock_.RunUntil([&] { return dev_->live.Data != CaptureState::Running; }, 301 * 60'000));
  EXPECT_EQ(clock_.Now() - start, 36001 * 500);
  ASSERT_TRUE(RunLive());
  EXPECT_EQ(dev_->live.DataOutcome, LiveOutcome::Stopped);
  ExpectFileOf(301);
}

TEST_F(RealTimeTest, ElevenRejectedRepliesInARowEndTheRunTenDoNot) {
  for (int rejected : {10, 11}) {
    SCOPED_TRACE(rejected);
    ui_.marks.clear();
    ui_.captions.clear();
    const long first = loop_->replies;
    loop_->shape = [=](sim::Packet& p, long n) {
      if (n >= first && n < first + rejected) p[19] ^= 0xFF;
      return true;
    };
    dev_->live.DataErrorCount = 9;  // as a spectrum run that ended on bad sets leaves it
    StartLive(1, 4);
    ASSERT_TRUE(RunLive());
    const bool ended = rejected > 10;
    EXPECT_EQ(dev_->live.DataOutcome, ended ? LiveOutcome::Rejected : LiveOutcome::Stopped);
    ExpectFileOf(ended ? 0 : 4);
    EXPECT_EQ(ui_.captions[static_cast<size_t>(rejected)], "data is erro!" + std::to_string(rejected));
    // The next good sample gives the caption back.
    EXPECT_EQ(ui_.captions.back(), ended ? "data is erro!11" : "");
    loop_->shape = nullptr;
  }
}

// A stop is honoured at the next tick however the replies fare; a second
// click while stopping does nothing more.
TEST_F(RealTimeTest, StopEndsTheRunAtTheNextTick) {
  const std::tuple<const char*, int, uint32_t> cases[] = {{"good", 1, 4}, {"damaged", 1, 0}, {"none come", 0, 0}};
  for (const auto& [name, copies, samples] : cases) {
    SCOPED_TRACE(name);
    ui_.marks.clear();
    const bool damage = samples == 0;
    loop_->shape = [copies = copies, damage](sim::Packet& p, long) {
      if (damage) p[19] ^= 0xFF;
      return copies;
    };
    StartLive(1, 1000);
    clock_.Advance(1600);
    ToggleLiveCapture(*dev_);
    const int64_t clicked = clock_.Now();
    EXPECT_EQ(dev_->live.Data, CaptureState::StopRequested);
    ToggleLiveCapture(*dev_);  // still stopping: nothing more
    EXPECT_EQ(dev_->live.Data, CaptureState::StopRequested);
    ASSERT_TRUE(RunLive());
    EXPECT_LE(clock_.Now() - clicked, 500);
    EXPECT_EQ(dev_->live.DataOutcome, LiveOutcome::Stopped);
    ExpectFileOf(samples);
  }
  loop_->shape = nullptr;

  // A click in state 3 ends the run at once.
  ui_.marks.clear();
  StartLive(1, 1000);
  clock_.Advance(600);
  dev_->live.Data = CaptureState::Stopping;
  ToggleLiveCapture(*dev_);
  EXPECT_EQ(dev_->live.DataOutcome, LiveOutcome::Stopped);
  ExpectFileOf(1);
  EXPECT_FALSE(dev_->BlockTimer().IsEnabled());
}

// The logger lost to a device-change scan, or the file full, after three samples.
TEST_F(RealTimeTest, EveryEndingKeepsEverySampleWithItsCount) {
  std::signal(SIGXFSZ, SIG_IGN);
  for (const bool lost : {true, false}) {
    SCOPED_TRACE(lost ? "lost device step" : "file limit");
    ASSERT_TRUE(Fresh(8));
    StartLive(1, 1000);
    clock_.Advance(1600);
    const rlimit small{19 + 3 * 6, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
    if (lost) {
      loop_->paths.clear();
      dev_->StartScan();
    } else {
      setrlimit(RLIMIT_FSIZE, &small);
    }
    ASSERT_TRUE(RunLive());
    setrlimit(RLIMIT_FSIZE, &none);
    EXPECT_EQ(dev_->live.DataOutcome, lost ? LiveOutcome::DeviceLost : LiveOutcome::FileError);
    ExpectFileOf(3);
    if (lost) {
      EXPECT_EQ(ui_.Panel(1), "No Device !");
    } else {
      ASSERT_FALSE(ui_.messages.empty());
      EXPECT_NE(ui_.messages.back().find(Out()), std::string::npos) << ui_.messages.back();
    }
  }
}

TEST_F(RealTimeTest, SpectrumRunSavesTheLastGoodSet) {
  const std::string fixed = ProgramFile(kSpectrumCancelName);
  // Unplugged, the second set is the last good one, saved at once; stopped,
  // the set under way when the click came (the third) completes and is saved.
  const std::pair<bool, uint64_t> cases[] = {{true, 256}, {false, 512}};
  for (const auto& [unplug, first] : cases) {
    SCOPED_TRACE(unplug);
    WriteBytes(fixed, std::vector<unsigned char>(5000, 0xAA));  // an earlier capture
    ui_.answer_ok = false;  // Cancel: the fixed name
    params_.CurYear = 3;  // an earlier file's
    ToggleLiveSpectrum(*dev_);
    ASSERT_TRUE(clock_.RunUntil([&] { return dev_->live.GoodSets == 2; }, 60'000));
    if (unplug) {
      loop_->open = false;
    } else {
      ToggleLiveSpectrum(*dev_);
      EXPECT_EQ(dev_->live.Spectrum, CaptureState::StopRequested);
    }
    ASSERT_TRUE(clock_.RunUntil([&] { return dev_->live.SpectrumOutcome != LiveOutcome::Running; }, 600'000));
    EXPECT_EQ(dev_->live.SpectrumOutcome, unplug ? LiveOutcome::DeviceLost : LiveOutcome::Stopped);
    const auto f = ReadBytes(fixed);
    ASSERT_EQ(f.size(), 1555u);
    EXPECT_EQ(f[1], 4);  // 4 ms, work mode 1, 256 samples
    EXPECT_EQ(f[8], 1);
    const std::time_t now = std::time(nullptr);
    EXPECT_EQ(f[13], std::localtime(&now)->tm_year + 1900 - 2000);  // started now
    EXPECT_EQ(std::vector<unsigned char>(f.begin() + 9, f.begin() + 13), (std::vector<unsigned char>{0, 0, 1, 0}));
    // The loopback logger's live samples are its motion from sample 0 on.
    const auto motion = sim::MakeRecording(static_cast<uint32_t>(first + 256), 7).samples;
    EXPECT_TRUE(std::equal(f.begin() + 19, f.end(), motion.end() - 256 * 6));
    EXPECT_EQ(ui_.spectrum_marks, (std::vector<bool>{true, false}));
    EXPECT_EQ(ui_.frequency_files.empty(), unplug);
    EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
    EXPECT_FALSE(dev_->SpectrumBlockTimer().IsEnabled());
    ASSERT_TRUE(Fresh(8));
  }
}

// Stopped before any good set: a failure, and the file under the name is not
// replaced by a head without samples.
TEST_F(RealTimeTest, SpectrumRunWithoutASetSavesNothing) {
  const std::string fixed = ProgramFile(kSpectrumCancelName);
  const std::vector<unsigned char> earlier(5000, 0xAA);
  WriteBytes(fixed, earlier);
  ui_.answer_ok = false;
  loop_->shape = [](sim::Packet& p, long) {
    if (p.size() > 14) p[14] ^= 1;  // every block damaged: no set is good
    return 1;
  };
  ToggleLiveSpectrum(*dev_);
  ToggleLiveSpectrum(*dev_);
  ASSERT_TRUE(clock_.RunUntil([&] { return dev_->live.SpectrumOutcome != LiveOutcome::Running; }, 600'000));
  EXPECT_EQ(dev_->live.SpectrumOutcome, LiveOutcome::NoSet);
  EXPECT_TRUE(ReadBytes(fixed) == earlier);
  ASSERT_FALSE(ui_.messages.empty());
  EXPECT_EQ(ui_.messages.back(), fixed + ": no spectrum set was received; nothing was saved");
  EXPECT_TRUE(ui_.frequency_files.empty());
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
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
