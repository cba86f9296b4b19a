#include <gtest/gtest.h>

#include <filesystem>

#include "device/frames.h"
#include "device_fixture.h"
#include "sim/recording.h"

namespace accelog::testing {
namespace {

class DownloadTest : public DeviceEngineTest {
 protected:
  LoopbackTransport* Install(uint32_t samples) {
    auto t = std::make_unique<LoopbackTransport>(sim::MakeRecording(samples, samples + 3));
    auto* raw = t.get();
    SetDeviceTransport(std::move(t));
    return raw;
  }
  std::vector<unsigned char> Memory(const LoopbackTransport* t) const {
    const auto image = t->logger.Memory().FileImage();
    return {image.begin(), image.end()};
  }
  std::string Out() const { return folder_.File("out.kvx"); }
  int Count(const LoopbackTransport* t, int control) const {
    const auto c = t->Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), control));
  }
  void ExpectIdle() const {
    EXPECT_EQ(Command.CommandCode, 0);
    EXPECT_EQ(Command.ActiveOperation, 0);
    EXPECT_EQ(Data.MenuCommandCode, 0);
    EXPECT_FALSE(Timers.Timer1->IsEnabled());
    EXPECT_FALSE(ui_.progress_visible);
    EXPECT_EQ(Download.DownloadFile, nullptr);
  }
};

TEST_F(DownloadTest, FewerThanEightSamplesIsNoData) {
  for (uint32_t n : {0u, 1u, 7u}) {
    SCOPED_TRACE(n);
    ResetDeviceEngines();
    auto* t = Install(n);
    ASSERT_TRUE(BringUp());
    ASSERT_TRUE(RunDownload(Out()));
    EXPECT_EQ(Download.Outcome, DownloadOutcome::NoData);
    EXPECT_EQ(ui_.Panel(2), "No data");
    EXPECT_FALSE(std::filesystem::exists(Out()));
    EXPECT_EQ(Count(t, 0x24), 0);
    EXPECT_EQ(Data.DeviceSampleCount, n);
    ExpectIdle();
  }
}

TEST_F(DownloadTest, FileEqualsTheLoggersMemory) {
  for (uint32_t n : {8u, 9u, 16u, 17u, 10000u}) {
    SCOPED_TRACE(n);
    ResetDeviceEngines();
    ui_ = RecordingUi{};
    auto* t = Install(n);
    ASSERT_TRUE(BringUp());
    ASSERT_TRUE(RunDownload(Out()));
    EXPECT_EQ(Download.Outcome, DownloadOutcome::Ended);
    const auto file = ReadBytes(Out());
    EXPECT_EQ(file.size(), 19 + 6 * n);
    EXPECT_TRUE(file == Memory(t));
    // The count lands at file offsets 9..12, high byte first.
    EXPECT_EQ(file[9] << 24 | file[10] << 16 | file[11] << 8 | file[12], static_cast<int>(n));
    const int blocks = static_cast<int>((n + 7) / 8);
    EXPECT_EQ(Count(t, 0x24), blocks);
    EXPECT_EQ(Count(t, 0x25), 0);
    EXPECT_EQ(Data.DownloadBytesWritten, static_cast<int>(19 + 6 * n));
    EXPECT_EQ(ui_.Panel(2), "Download End");
    EXPECT_TRUE(ui_.PanelShowed(2, "Total:" + std::to_string(n)));
    EXPECT_TRUE(ui_.PanelShowed(2, "Send 'command 23'  is ok"));
    EXPECT_EQ(ui_.Panel(4), std::to_string(blocks) + "    " + std::to_string(blocks));
    EXPECT_EQ(ui_.progress_max, static_cast<int>(n / 8 + 1));
    EXPECT_EQ(ui_.progress_value, blocks);
    EXPECT_EQ(ui_.shown_files, std::vector<std::string>{Out()});
    EXPECT_EQ(ui_.restored, (std::vector<int>{11, 11}));
    ExpectIdle();
  }
}

TEST_F(DownloadTest, BlockLengths) {
  EXPECT_EQ(LastBlockLengthFor(8), 0);
  EXPECT_EQ(BlockCountFor(8), 1);
  EXPECT_EQ(LastBlockLengthFor(9), 21);
  EXPECT_EQ(BlockCountFor(9), 2);
  EXPECT_EQ(LastBlockLengthFor(15), 57);
  EXPECT_EQ(BlockCountFor(4294967295u), 536870912);
}

TEST_F(DownloadTest, FileNameAndOverwriteQuestion) {
  auto* t = Install(8);
  ASSERT_TRUE(BringUp());
  // The dialog's extension is replaced by .kvx.
  ASSERT_TRUE(RunDownload(folder_.File("first.txt")));
  EXPECT_TRUE(std::filesystem::exists(folder_.File("first.kvx")));
  EXPECT_EQ(ui_.asked, 0);

  // Cancel: the file stays as it was and nothing is sent.
  WriteBytes(Out(), {1, 2, 3});
  ui_.answer_ok = false;
  const size_t written = t->written.size();
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(ui_.asked, 1);
  EXPECT_EQ(t->written.size(), written);
  EXPECT_EQ(ReadBytes(Out()), (std::vector<unsigned char>{1, 2, 3}));

  // OK: replaced by the download.
  ui_.answer_ok = true;
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_TRUE(ReadBytes(Out()) == Memory(t));

  // A cancelled dialog.
  ui_.save_name.clear();
  File008_Click();
  EXPECT_EQ(Data.MenuCommandCode, 0);
  EXPECT_EQ(t->written.size(), written + 2);
}

TEST_F(DownloadTest, RefusedWithoutLinkOrWhileBusy) {
  auto* t = Install(8);
  ui_.save_name = Out();
  File008_Click();
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"No Connet"});
  ASSERT_TRUE(BringUp());
  Data.MenuCommandCode = 12;
  File008_Click();
  EXPECT_EQ(Count(t, 0x23), 0);
  EXPECT_EQ(ui_.messages.size(), 1u);
}

TEST_F(DownloadTest, EndOfDataInTheMiddleFinishesWithTheBlocksSoFar) {
  auto* t = Install(100);
  t->logger.SetEarlyEnd(5);
  ASSERT_TRUE(BringUp());
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Ended);
  EXPECT_EQ(ui_.Panel(2), "Download End");
  const auto memory = Memory(t);
  const std::vector<unsigned char> expected(memory.begin(), memory.begin() + 19 + 5 * 48);
  EXPECT_TRUE(ReadBytes(Out()) == expected);
  EXPECT_EQ(ui_.shown_files.size(), 1u);
  ExpectIdle();
}

TEST_F(DownloadTest, RejectedBlocksAreRepeatedUpTo50TimesInARow) {
  auto* t = Install(17);
  long bad_from = -1, bad_count = 0;
  t->shape = [&](sim::Packet& p, long n) {
    if (p[11] == 0xA4 && bad_from < 0) bad_from = n + 1;  // the second block
    if (bad_from >= 0 && n >= bad_from && n < bad_from + bad_count) p[20] ^= 0xFF;
    return true;
  };
  bad_count = 50;
  ASSERT_TRUE(BringUp());
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Ended);
  EXPECT_EQ(Count(t, 0x25), 50);
  EXPECT_TRUE(ReadBytes(Out()) == Memory(t));
}

TEST_F(DownloadTest, The51stRejectedBlockFailsTheDownload) {
  auto* t = Install(17);
  long bad_from = -1;
  t->shape = [&](sim::Packet& p, long n) {
    if (p[11] == 0xA4 && bad_from < 0) bad_from = n + 1;
    if (bad_from >= 0 && n >= bad_from) p[20] ^= 0xFF;
    return true;
  };
  ASSERT_TRUE(BringUp());
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Failed);
  EXPECT_EQ(Count(t, 0x25), 50);
  EXPECT_EQ(ui_.Panel(2), "Download failed");
  EXPECT_TRUE(ui_.shown_files.empty());
  // The partial file keeps the first block.
  const auto memory = Memory(t);
  EXPECT_TRUE(ReadBytes(Out()) == std::vector<unsigned char>(memory.begin(), memory.begin() + 19 + 48));
  EXPECT_EQ(ui_.restored.back(), 11);
  ExpectIdle();
  // The menus work again.
  t->shape = nullptr;
  ASSERT_TRUE(RunDownload(folder_.File("again.kvx")));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Ended);
}

TEST_F(DownloadTest, RejectedPartialLastBlockIsRepeated) {
  auto* t = Install(9);
  int bad = 3;
  t->shape = [&](sim::Packet& p, long) {
    if (p.size() == 21 && bad-- > 0) p[14] ^= 1;
    return true;
  };
  ASSERT_TRUE(BringUp());
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Ended);
  EXPECT_EQ(Count(t, 0x25), 3);
  EXPECT_TRUE(ReadBytes(Out()) == Memory(t));
}

TEST_F(DownloadTest, FailedBlockWriteAbandonsTheDownloadCleanly) {
  auto* t = Install(80);
  ASSERT_TRUE(BringUp());
  int blocks = 0;
  t->refuse_write = [&](const uint8_t* f, int) { return f[11] == 0x24 && ++blocks > 4; };
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::Failed);
  EXPECT_EQ(ui_.Panel(2), "Download failed");
  const auto memory = Memory(t);
  EXPECT_TRUE(ReadBytes(Out()) == std::vector<unsigned char>(memory.begin(), memory.begin() + 19 + 4 * 48));
  ExpectIdle();
  EXPECT_TRUE(Timers.Timer4->IsEnabled());  // the scan looks for the logger again
  EXPECT_FALSE(Link.LinkConfirmed);

  // The logger is gone for good: the scan gives up, nothing else happens.
  t->paths.clear();
  clock_.Advance(10000);
  EXPECT_EQ(ui_.Panel(1), "No Device !");
  EXPECT_EQ(Data.MenuCommandCode, 0);
  EXPECT_TRUE(ui_.shown_files.empty());
}

TEST_F(DownloadTest, LostDeviceStepEndsARunningDownload) {
  auto* t = Install(800);
  ASSERT_TRUE(BringUp());
  ui_.save_name = Out();
  File008_Click();
  ASSERT_TRUE(clock_.RunUntil([] { return Download.DownloadBlockIndex >= 10; }, 100000));
  // A device-change message restarts the scan; the logger has gone.
  t->paths.clear();
  t->open = false;
  usbDeviceDetect();
  ASSERT_TRUE(clock_.RunUntil([] { return Download.Outcome != DownloadOutcome::Running; }, 100000));
  EXPECT_EQ(Download.Outcome, DownloadOutcome::DeviceLost);
  EXPECT_EQ(ui_.Panel(1), "No Device !");
  const auto file = ReadBytes(Out());
  const auto memory = Memory(t);
  EXPECT_EQ((file.size() - 19) % 48, 0u);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), memory.begin()));
  ExpectIdle();
}

TEST_F(DownloadTest, CommunicationTimeOut) {
  Install(8);
  ASSERT_TRUE(BringUp());
  // Timer1 ticking while no branch takes it.
  Data.MenuCommandCode = 11;
  Command.ActiveOperation = 24;
  Download.Outcome = DownloadOutcome::Running;
  Timers.Timer1->Start(20);
  clock_.Advance(60);
  EXPECT_TRUE(Timers.Timer1->IsEnabled());
  clock_.Advance(20);  // the fourth tick
  EXPECT_FALSE(Timers.Timer1->IsEnabled());
  EXPECT_EQ(ui_.Panel(2), "Communction Over Time0");
  EXPECT_EQ(ui_.Panel(1), " ");
  EXPECT_EQ(Download.Outcome, DownloadOutcome::TimedOut);
  EXPECT_EQ(Download.CommTimeoutCount, 0);
  EXPECT_TRUE(Timers.Timer4->IsEnabled());
  ExpectIdle();
  // The scan finds the logger again.
  ASSERT_TRUE(clock_.RunUntil([] { return Link.LinkConfirmed && Command.CommandCode == 0; }, 10000));

  MachineParameter.LanguageFlag = 0;
  Timers.Timer1->Start(20);
  clock_.Advance(80);
  EXPECT_EQ(ui_.Panel(2), "通讯超时失败");
}

TEST_F(DownloadTest, ChineseTexts) {
  Install(9);
  MachineParameter.LanguageFlag = 0;
  ASSERT_TRUE(BringUp());
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_TRUE(ui_.PanelShowed(2, "发送回收数据指令23成功"));
  EXPECT_TRUE(ui_.PanelShowed(2, "下位机有数据9"));
  EXPECT_EQ(ui_.Panel(2), "下载完成");
  ResetDeviceEngines();
  Install(3);
  ASSERT_TRUE(BringUp());
  ASSERT_TRUE(RunDownload(folder_.File("none.kvx")));
  EXPECT_EQ(ui_.Panel(2), "下位机器没有数据");
}

TEST_F(DownloadTest, BlockLoopRunsAtOneBlockPer20Ms) {
  auto* t = Install(800);
  ASSERT_TRUE(BringUp());
  ui_.save_name = Out();
  File008_Click();
  ASSERT_TRUE(clock_.RunUntil([] { return Command.CommandCode == 24; }, 1000));
  const int64_t start = clock_.Now();
  ASSERT_TRUE(clock_.RunUntil([] { return Download.Outcome != DownloadOutcome::Running; }, 100000));
  EXPECT_EQ(clock_.Now() - start, 100 * 20);
  EXPECT_EQ(Count(t, 0x24), 100);
}

}  // namespace
}  // namespace accelog::testing
