#include <gtest/gtest.h>

#include "device_fixture.h"
#include "model/utils.h"

namespace accelog::testing {
namespace {

using Bytes = std::vector<unsigned char>;

class DownloadTest : public DeviceEngineTest {
 protected:
  // The logger's memory up to `blocks` whole blocks (all of it when negative).
  Bytes Memory(long blocks = -1) const {
    const auto image = loop_->logger.Memory().FileImage();
    return DownloadCutTo(image, blocks < 0 ? image.size() : 19 + 48 * static_cast<size_t>(blocks));
  }
  void ExpectIdle() const {
    EXPECT_EQ(dev_->command.Awaited, CommandCode::None);
    EXPECT_EQ(dev_->command.Operation, ActiveOperation::None);
    EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
    EXPECT_FALSE(dev_->BlockTimer().IsEnabled());
    EXPECT_FALSE(ui_.progress_visible);
    EXPECT_EQ(dev_->download.FileDescriptor, -1);
  }
  // A file that ended short holds whole blocks of the memory and nothing else.
  void ExpectWholeBlocksOfMemory() const {
    const Bytes file = ReadBytes(Out());
    ASSERT_GE(file.size(), 19u);
    EXPECT_EQ((file.size() - 19) % 48, 0u);
    EXPECT_TRUE(file == Memory(static_cast<long>(file.size() - 19) / 48));
  }
  bool MessageNames(const std::string& what) const {
    return std::ranges::any_of(ui_.messages, [&](const std::string& m) { return m.find(what) != std::string::npos; });
  }
};

TEST_F(DownloadTest, FileEqualsTheLoggersMemoryOrThereIsNoData) {
  for (uint32_t n : {0u, 7u, 8u, 9u, 16u, 17u, 10000u}) {
    SCOPED_TRACE(n);
    const bool zh = n == 9;  // the download's own texts follow the language
    params_.LanguageFlag = zh ? 0 : 1;
    std::filesystem::remove(Out());
    ASSERT_TRUE(Fresh(n));
    ASSERT_TRUE(RunDownload(Out()));
    EXPECT_EQ(data_.DeviceSampleCount, n);
    ExpectIdle();
    if (n < 8) {
      EXPECT_EQ(dev_->download.Outcome, DownloadOutcome::NoData);
      EXPECT_EQ(ui_.Panel(2), "No data");
      EXPECT_FALSE(std::filesystem::exists(Out()));
      EXPECT_EQ(loop_->Sent(0x24), 0);
      continue;
    }
    EXPECT_EQ(dev_->download.Outcome, DownloadOutcome::Ended);
    const Bytes file = ReadBytes(Out());
    EXPECT_EQ(file.size(), 19 + 6 * n);
    EXPECT_TRUE(file == Memory());
    const int blocks = static_cast<int>((n + 7) / 8);
    EXPECT_EQ(loop_->Sent(0x24), blocks);
    EXPECT_EQ(loop_->Sent(0x25), 0);
    EXPECT_EQ(ui_.Panel(2), zh ? "下载完成" : "Download End");
    EXPECT_TRUE(ui_.PanelShowed(2, (zh ? "下位机有数据" : "Total:") + std::to_string(n)));
    EXPECT_TRUE(ui_.PanelShowed(2, zh ? "发送回收数据指令23成功" : "Send 'command 23'  is ok"));
    EXPECT_EQ(ui_.Panel(4), std::to_string(blocks) + "    " + std::to_string(blocks));
    EXPECT_EQ(ui_.progress_max, static_cast<int>(n / 8 + 1));
    EXPECT_EQ(ui_.progress_value, blocks);
    EXPECT_EQ(ui_.shown_files, std::vector<std::string>{Out()});
    EXPECT_EQ(ui_.restored, (std::vector<int>{11, 11}));
  }
}

// A logger that answers wrongly: a download never ends "Download End" with
// anything but the memory, and never writes a reply nobody asked for. A
// rejected block is asked for again (0x25), up to 50 times in a row.
TEST_F(DownloadTest, HostileLoggerNeverGivesAWrongFile) {
  // Damages the block replies `length` bytes long, `bad` of them in a row after the first `skip`.
  auto reject = [](size_t length, int skip, int bad) -> std::function<int(sim::Packet&, long)> {
    return [=](sim::Packet& p, long) mutable {
      if (p.size() == length && p[11] == 0xA4 && skip-- <= 0 && bad-- > 0) p[14] ^= 1;
      return 1;
    };
  };
  const Bytes end = sim::MakeFrame(0xA4);
  Bytes bad_end = end;
  bad_end[13] ^= 1;
  const Bytes torn_end(end.begin(), end.begin() + 13);
  struct Case {
    const char* name;
    std::function<int(sim::Packet&, long)> shape;
    DownloadOutcome outcome;
    int blocks = -1;   // whole blocks the file keeps, where the test knows
    int repeats = -1;  // blocks asked for again, where the test knows
  } cases[] = {
      // 100 samples: 12 blocks of 63 bytes, then one of 39.
      {"the partial last block rejected 3 times", reject(39, 0, 3), DownloadOutcome::Ended, -1, 3},
      {"a block rejected 50 times", reject(63, 1, 50), DownloadOutcome::Ended, -1, 50},
      {"a block rejected for good", reject(63, 1, 1000), DownloadOutcome::Failed, 1, 50},
      {"damaged end-of-data", [&](sim::Packet& p, long) { if (p[11] == 0xA4) p = bad_end; return 1; },
       DownloadOutcome::Failed},
      {"torn end-of-data", [&](sim::Packet& p, long) { if (p[11] == 0xA4) p = torn_end; return 1; },
       DownloadOutcome::Failed},
      {"unsolicited blocks", [](sim::Packet& p, long n) { return p[11] == 0xA4 && n > 5 ? 2 : 1; },
       DownloadOutcome::Failed},
      // Replies 0 and 1 brought the link up, 2 is the inquiry's: then three blocks and silence.
      {"silent after three blocks", [](sim::Packet&, long n) { return n < 6 ? 1 : 0; }, DownloadOutcome::Failed, 3},
      {"damaged inquiry reply", [](sim::Packet& p, long) { if (p[11] == 0xA3) p[20] ^= 1; return 1; },
       DownloadOutcome::NoReply},
      {"absurd count, declined",
       [](sim::Packet& p, long) {
         if (p[11] == 0xA3) {
           std::fill(p.begin() + 22, p.begin() + 26, 0xFF);
           p[32] = FrameChecksum(p, 31);
         }
         return 1;
       },
       DownloadOutcome::Declined},
      {"closed mid-frame",
       [&](sim::Packet& p, long n) {
         if (n == 10) p.resize(20);
         if (n == 11) loop_->open = false;
         return 1;
       },
       DownloadOutcome::Failed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Out());
    ASSERT_TRUE(Fresh(100));
    ui_.answer_ok = false;
    loop_->shape = c.shape;
    ASSERT_TRUE(RunDownload(Out()));
    EXPECT_EQ(dev_->download.Outcome, c.outcome);
    const bool ended = c.outcome == DownloadOutcome::Ended;
    EXPECT_EQ(ui_.Panel(2) == "Download End", ended);
    EXPECT_EQ(ui_.shown_files.empty(), !ended);
    if (ended) {
      EXPECT_TRUE(ReadBytes(Out()) == Memory());
    } else if (std::filesystem::exists(Out())) {
      ExpectWholeBlocksOfMemory();
    }
    if (c.blocks >= 0) {
      EXPECT_EQ(ReadBytes(Out()).size(), 19u + 48 * static_cast<size_t>(c.blocks));
    }
    if (c.repeats >= 0) {
      EXPECT_EQ(loop_->Sent(0x25), c.repeats);
    }
    if (c.outcome == DownloadOutcome::Failed) {
      EXPECT_EQ(ui_.Panel(2), "Download failed");
      EXPECT_TRUE(MessageNames(Out()));
    }
    if (c.outcome == DownloadOutcome::Declined) {
      EXPECT_EQ(ui_.questions.size(), 1u);
      EXPECT_EQ(loop_->Sent(0x24), 0);
      EXPECT_FALSE(std::filesystem::exists(Out()));
    }
    ExpectIdle();
  }
}

TEST_F(DownloadTest, FileNameOverwriteAndFolders) {
  ASSERT_TRUE(Fresh(8));
  // The dialog's extension is replaced by .kvx.
  ASSERT_TRUE(RunDownload(folder_.File("first.txt")));
  EXPECT_TRUE(std::filesystem::exists(folder_.File("first.kvx")));
  EXPECT_TRUE(ui_.questions.empty());

  // Cancel: the file stays as it was and nothing is sent.
  WriteBytes(Out(), {1, 2, 3});
  ui_.answer_ok = false;
  const size_t written = loop_->written.size();
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(ui_.questions.size(), 1u);
  EXPECT_EQ(ReadBytes(Out()), (Bytes{1, 2, 3}));

  // OK: replaced by the download.
  ui_.answer_ok = true;
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_TRUE(ReadBytes(Out()) == Memory());

  // A folder is never the file, not even an empty one with OK; nothing is sent.
  std::filesystem::create_directory(folder_.File("d.kvx"));
  const size_t sent = loop_->written.size();
  for (const std::string& name : {folder_.path() + "/", folder_.File("d.kvx"), folder_.File("no/x.kvx")}) {
    SCOPED_TRACE(name);
    ui_.messages.clear();
    ui_.save_name = name;
    DownloadData(*dev_);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].rfind(CleanFileName(name), 0), 0u) << ui_.messages[0];
  }
  // Busy with another operation: nothing at all.
  data_.MenuCommandCode = MenuOperation::LiveData;
  DownloadData(*dev_);
  data_.MenuCommandCode = MenuOperation::None;
  EXPECT_TRUE(std::filesystem::is_directory(folder_.File("d.kvx")));
  EXPECT_FALSE(std::filesystem::exists(folder_.path() + "/.kvx"));
  EXPECT_EQ(loop_->written.size(), sent);
  EXPECT_EQ(sent, written + 2);
}

// "Download End" stays, the shortfall is said, and the file counts what it holds.
TEST_F(DownloadTest, EndOfDataBeforeTheCountIsAShortDownload) {
  for (int blocks : {5, 0}) {
    SCOPED_TRACE(blocks);
    ASSERT_TRUE(Fresh(1000));
    loop_->logger.SetEarlyEnd(blocks);
    ASSERT_TRUE(RunDownload(Out()));
    EXPECT_EQ(dev_->download.Outcome, DownloadOutcome::Short);
    EXPECT_EQ(ui_.Panel(2), "Download End");
    EXPECT_TRUE(MessageNames(Out() + ": the logger ended after " + std::to_string(8 * blocks) + " of 1000 samples"));
    if (blocks > 0) {
      EXPECT_TRUE(ReadBytes(Out()) == Memory(blocks));
      EXPECT_EQ(ui_.shown_files.size(), 1u);
    } else {
      EXPECT_FALSE(std::filesystem::exists(Out()));
      EXPECT_TRUE(ui_.shown_files.empty());
    }
    ExpectIdle();
  }
}

TEST_F(DownloadTest, FailedBlockWriteAbandonsTheDownloadCleanly) {
  ASSERT_TRUE(Fresh(80));
  int blocks = 0;
  loop_->refuse_write = [&](const uint8_t* f, int) { return f[11] == 0x24 && ++blocks > 4; };
  ASSERT_TRUE(RunDownload(Out()));
  EXPECT_EQ(dev_->download.Outcome, DownloadOutcome::Failed);
  EXPECT_EQ(ui_.Panel(2), "Download failed");
  EXPECT_TRUE(ReadBytes(Out()) == Memory(4));
  ExpectIdle();
  EXPECT_TRUE(dev_->ScanTimer().IsEnabled());  // the scan looks for the logger again
  EXPECT_FALSE(dev_->link.LinkConfirmed);
  // The logger is gone for good: the scan gives up, nothing else happens.
  loop_->paths.clear();
  clock_.Advance(10000);
  EXPECT_EQ(ui_.Panel(1), "No Device !");
  EXPECT_TRUE(ui_.shown_files.empty());
}

// The typed interface: the result names the file, the reason and what was kept.
TEST_F(DownloadTest, LostDeviceOrStopEndsARunningDownloadWithWholeBlocks) {
  std::vector<DownloadResult> results;
  auto start = [&] {
    DownloadOptions options;
    options.finished = [&](const DownloadResult& r) { results.push_back(r); };
    dev_->Download(Out(), std::move(options));
  };
  for (bool stop : {false, true}) {
    SCOPED_TRACE(stop);
    ASSERT_TRUE(Fresh(800));
    results.clear();
    start();
    ASSERT_TRUE(clock_.RunUntil([&] { return dev_->download.BlockIndex >= 10; }, 100000));
    if (stop) {
      dev_->StopDownload();
      EXPECT_EQ(ui_.Panel(2), "Download stopped");
      EXPECT_TRUE(MessageNames(Out()));
    } else {
      // A device-change message restarts the scan; the logger has gone.
      loop_->paths.clear();
      loop_->open = false;
      dev_->StartScan();
      ASSERT_TRUE(clock_.RunUntil([&] { return !results.empty(); }, 100000));
      EXPECT_EQ(ui_.Panel(1), "No Device !");
    }
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].outcome, stop ? DownloadOutcome::Stopped : DownloadOutcome::DeviceLost);
    EXPECT_EQ(results[0].message.rfind(Out() + ": ", 0), 0u) << results[0].message;
    EXPECT_EQ(19 + 6 * static_cast<size_t>(results[0].samples_kept), ReadBytes(Out()).size());
    ExpectWholeBlocksOfMemory();
    ExpectIdle();
    EXPECT_TRUE(ui_.shown_files.empty());
  }
  // Stopped while the inquiry is pending: no file at all.
  std::filesystem::remove(Out());
  results.clear();
  start();
  dev_->StopDownload();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].outcome, DownloadOutcome::Stopped);
  clock_.Advance(2000);
  EXPECT_FALSE(std::filesystem::exists(Out()));
  ExpectIdle();
}

TEST_F(DownloadTest, CommunicationTimeOut) {
  ASSERT_TRUE(Fresh(8));
  // Timer1 ticking while no branch takes it.
  data_.MenuCommandCode = MenuOperation::Download;
  dev_->command.Operation = ActiveOperation::Download;
  dev_->download.Outcome = DownloadOutcome::Running;
  dev_->BlockTimer().Start(20);
  clock_.Advance(60);
  EXPECT_TRUE(dev_->BlockTimer().IsEnabled());
  clock_.Advance(20);  // the fourth tick
  EXPECT_EQ(ui_.Panel(2), "Communction Over Time0");
  EXPECT_EQ(ui_.Panel(1), " ");
  EXPECT_EQ(dev_->download.Outcome, DownloadOutcome::TimedOut);
  EXPECT_TRUE(dev_->ScanTimer().IsEnabled());
  ExpectIdle();
  // The scan finds the logger again.
  ASSERT_TRUE(clock_.RunUntil([&] { return dev_->link.LinkConfirmed && dev_->command.Awaited == CommandCode::None; }, 10000));
}

}  // namespace
}  // namespace accelog::testing
