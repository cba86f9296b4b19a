// The link to the logger: frames, the scan, connect and identify, reads and
// writes, the parameter command, and the virtual clock they run on.
#include <gtest/gtest.h>

#include <cstring>

#include "device_fixture.h"

namespace accelog::testing {
namespace {

std::vector<uint8_t> Reply(uint8_t control, std::vector<uint8_t> data = {}) { return BuildFrame(control, data); }

TEST(CommandFrames, CommandsWithoutDataCarryTheirFixedChecksums) {
  const std::pair<uint8_t, uint8_t> expected[] = {{0x12, 0x0C}, {0x11, 0x0B}, {0x23, 0x1D},
                                                  {0x24, 0x1E}, {0x25, 0x1F}, {0x22, 0x1C},
                                                  {0x21, 0x1B}};
  for (auto [control, checksum] : expected) {
    const auto f = BuildCommandFrame(control);
    EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.end()),
              (std::vector<uint8_t>{0xFE, 0xFE, 0xFE, 0xFE, 0x68, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0x68, control, 0x00,
                                    checksum, 0x16}));
  }
  // The parameter acknowledgement's constant.
  EXPECT_EQ(Reply(0xA0)[13], 0x9A);
}

TEST(ReplyValidators, AcceptWellFormedRepliesAndRejectEveryBrokenField) {
  const auto connect = Reply(0x92);
  EXPECT_TRUE(CheckConnectReply(connect));
  EXPECT_TRUE(CheckParameterReply(Reply(0xA0)));
  EXPECT_TRUE(CheckInquiryReply(Reply(0xA3, std::vector<uint8_t>(19, 7))));
  EXPECT_TRUE(CheckSampleReply(Reply(0xA2, std::vector<uint8_t>(6, 9))));
  EXPECT_FALSE(CheckConnectReply(Reply(0x91)));  // well formed, but the wrong reply
  EXPECT_FALSE(CheckInquiryReply(Reply(0xA3, std::vector<uint8_t>(18, 7))));

  // Any single changed byte of a connect reply fails it.
  for (size_t i = 0; i < connect.size(); ++i) {
    auto bad = connect;
    bad[i] ^= 0x40;
    EXPECT_FALSE(CheckConnectReply(bad)) << i;
  }
  // The cleared buffer of a read that got nothing.
  const std::vector<uint8_t> zeros(63, 0);
  EXPECT_FALSE(CheckConnectReply(zeros));
  EXPECT_FALSE(CheckParameterReply(zeros));
  EXPECT_FALSE(CheckBlockReply(zeros, 63));
  EXPECT_FALSE(CheckEndOfData(zeros));
  // Too short to hold the frame.
  EXPECT_FALSE(CheckConnectReply(std::span(connect).first(14)));
}

TEST(ReplyValidators, BlockRepliesMatchTheirLength) {
  for (int k = 1; k <= 8; ++k) {
    const auto block = Reply(0xA4, std::vector<uint8_t>(static_cast<size_t>(6 * k), 0x5A));
    EXPECT_TRUE(CheckBlockReply(block, 15 + 6 * k)) << k;
    if (k < 8) {
      std::vector<uint8_t> padded = block;
      padded.resize(63, 0);
      EXPECT_FALSE(CheckBlockReply(padded, 63)) << k;
    }
    if (k > 1) {
      EXPECT_FALSE(CheckBlockReply(block, 15 + 6 * (k - 1))) << k;
    }
  }
}

TEST(ReplyValidators, SpectrumSetFailsWhenAnyBlockFails) {
  std::vector<uint8_t> set;
  for (int b = 0; b < 32; ++b) {
    const auto block = Reply(0xA1, std::vector<uint8_t>(48, static_cast<uint8_t>(b)));
    set.insert(set.end(), block.begin(), block.end());
  }
  ASSERT_EQ(set.size(), 2016u);
  EXPECT_TRUE(CheckSpectrumSet(set, 2016));
  for (int b : {0, 17, 31}) {
    auto bad = set;
    bad[static_cast<size_t>(63 * b + 30)] ^= 1;
    EXPECT_FALSE(CheckSpectrumSet(bad, 2016)) << b;
  }
  EXPECT_FALSE(CheckSpectrumSet(std::span(set).first(2015), 2015));
}

using LinkTest = DeviceEngineTest;

TEST(DevicePath, VendorAndProductFieldsAreHexadecimal) {
  struct Case {
    std::string path;
    bool parsed;
    int16_t vendor, product;
  } cases[] = {
      {"usb#vid_1041&pid_8102#001-004", true, 4161, -32510},
      {"\\\\?\\usb#VID_1041&PID_8102#6&abc#{a5dcbf10}", true, 4161, -32510},
      {"x#vid_10zz&pid_81", true, 0, 0},  // not four hex digits; cut short
      {"no hash here", false, 0, 0},
      {std::string(100, 'a') + "#vid_1041&pid_8102#", false, 0, 0},
      {std::string(99, 'a') + "#vid_1041&pid_8102#", true, 4161, -32510},
  };
  for (const Case& c : cases) {
    int16_t v = 0, p = 0;
    EXPECT_EQ(ParseDeviceIds(c.path, v, p), c.parsed) << c.path;
    EXPECT_EQ(v, c.vendor) << c.path;
    EXPECT_EQ(p, c.product) << c.path;
  }
}

// Six passes without the logger end in "No Device !"; a reset starts a fresh
// series, and a logger found is announced on the next tick, then connected
// and identified, each reply read a tick after its command.
TEST_F(LinkTest, SixFailedPassesEndInNoDeviceAFoundOneIsConnectedAndIdentified) {
  auto* t = InstallLoopback(16);
  t->paths.clear();
  dev_->StartScan();
  clock_.Advance(3000);
  std::vector<std::string> expected;
  for (int pass = 1; pass <= 6; ++pass) expected.push_back("Scan for usb devices...." + std::to_string(pass));
  expected.push_back("No Device !");
  EXPECT_EQ(ui_.PanelTexts(1), expected);
  EXPECT_FALSE(dev_->ScanTimer().IsEnabled());
  EXPECT_TRUE(dev_->link.ScanGaveUp);
  EXPECT_FALSE(dev_->link.DeviceConnected);
  clock_.Advance(5000);
  EXPECT_EQ(ui_.PanelTexts(1).size(), expected.size());

  t->paths = {SimulatedDevicePath("/loopback")};
  dev_->StartScan();
  clock_.Advance(500);
  EXPECT_EQ(ui_.Panel(1), "Scan for usb devices....1");
  EXPECT_TRUE(dev_->link.DeviceFound);
  EXPECT_FALSE(dev_->link.DeviceConnected);
  EXPECT_TRUE(t->written.empty());
  clock_.Advance(500);  // "find set" and the connect command
  EXPECT_EQ(ui_.Panel(1), "find set");
  EXPECT_TRUE(dev_->link.DeviceConnected);
  EXPECT_EQ(t->Commands(), std::vector<int>{0x12});
  EXPECT_EQ(dev_->command.Awaited, CommandCode::Connect);
  clock_.Advance(499);
  EXPECT_FALSE(dev_->link.LinkConfirmed);
  clock_.Advance(1);  // the reply is read
  EXPECT_TRUE(dev_->link.LinkConfirmed);
  EXPECT_EQ(ui_.Panel(1), "Connet    OK");
  EXPECT_EQ(t->Commands(), (std::vector<int>{0x12, 0x11}));
  clock_.Advance(500);
  EXPECT_EQ(ui_.Panel(2), "LOOPBACK0001");
  EXPECT_EQ(dev_->command.DeviceIdText, "LOOPBACK0001");
  EXPECT_EQ(dev_->command.Awaited, CommandCode::None);
  EXPECT_FALSE(dev_->ScanTimer().IsEnabled());
  EXPECT_FALSE(dev_->ReplyTimer().IsEnabled());
}

TEST_F(LinkTest, FirstMatchingPathWinsAndOthersAreClosed) {
  auto* t = InstallLoopback(16);
  t->paths = {"usb#vid_1041&pid_8103#001-002", "no hash at all", "usb#vid_1041&pid_8102#001-003",
              "usb#VID_1041&PID_8102#001-004"};
  EXPECT_TRUE(dev_->FindLogger());
  EXPECT_EQ(dev_->link.DevicePathName, "usb#vid_1041&pid_8102#001-003");
  EXPECT_EQ(t->opens, 1);  // only the logger itself is ever opened
  const int opens = t->opens;
  t->paths = {"usb#vid_1041&pid_8103#001-002", "usb#vid_046d&pid_c52b#001-005"};
  EXPECT_FALSE(dev_->FindLogger());
  EXPECT_FALSE(t->open);
  EXPECT_EQ(t->opens, opens);  // other devices are left alone
}

TEST_F(LinkTest, ReadAndWriteRefuseAnUndetectedDeviceAndReadsClear255Bytes) {
  auto* t = InstallLoopback(16);
  ASSERT_TRUE(dev_->FindLogger());
  dev_->link.WriteLength = 15;
  EXPECT_FALSE(dev_->WriteRequest());
  EXPECT_FALSE(dev_->ReadReply());
  EXPECT_EQ(ui_.messages, (std::vector<std::string>{"Please First Detect the Device!",
                                                    "Please First Detect the Device!"}));
  EXPECT_TRUE(t->written.empty());
  dev_->link.DeviceConnected = true;
  std::memset(dev_->link.ReadBuffer, 0xEE, sizeof dev_->link.ReadBuffer);
  dev_->link.ReadLength = 15;
  EXPECT_FALSE(dev_->ReadReply());  // nothing to read
  for (int i = 0; i < 255; ++i) ASSERT_EQ(dev_->link.ReadBuffer[i], 0) << i;
  EXPECT_EQ(dev_->link.ReadBuffer[255], 0xEE);
}

// Commands 0x12, 0x23, 0x11, 0x20 in turn, each read once; replies late or
// lost. A read gives the reply to its own command or nothing, never an
// earlier one, and the count of owed replies ends at 0. With `settle` a
// command waits until nothing is owed, as the download does.
TEST_F(LinkTest, ReadsNeverTakeAnEarlierCommandsReply) {
  const uint8_t commands[] = {0x12, 0x23, 0x11, 0x20};
  struct Case {
    std::vector<int> delay_ms;  // per reply; -1 never comes
    bool settle;
    int lost_ms;
    int forgotten;
  } cases[] = {
      {{150, 0, 0, 0}, false, 1500, 0}, {{350, 0, 0, 0}, false, 1500, 0},
      {{900, 0, 0, 0}, true, 1500, 0},  {{-1, 0, 0, 0}, true, 300, 1},
      {{0, 250, -1, 0}, true, 300, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay_ms[0]);
    auto* t = InstallLoopback(16);
    ASSERT_TRUE(dev_->FindLogger());
    dev_->link.DeviceConnected = true;
    dev_->link.LostReplyMs = c.lost_ms;
    t->shape = [&](sim::Packet&, long n) { return c.delay_ms[static_cast<size_t>(n)] >= 0 ? 1 : 0; };
    t->delay_ms = [&](long n) { return c.delay_ms[static_cast<size_t>(n)]; };
    for (const uint8_t command : commands) {
      while (c.settle && !dev_->LinkQuiet(100)) {}
      const auto f = BuildFrame(command, std::vector<uint8_t>(command == 0x20 ? 23 : 0, 1));
      std::memcpy(dev_->link.WriteBuffer, f.data(), f.size());
      dev_->link.WriteLength = static_cast<int16_t>(f.size());
      ASSERT_TRUE(dev_->WriteRequest());
      dev_->link.ReadLength = 34;
      if (dev_->ReadReply()) {
        EXPECT_EQ(dev_->link.ReadBuffer[11], command | 0x80) << int(command);
      }
    }
    EXPECT_TRUE(dev_->link.LastReadOk);
    EXPECT_EQ(dev_->link.OwedReplies, 0);
    EXPECT_EQ(dev_->link.ForgottenReplies, c.forgotten);
    EXPECT_EQ(dev_->link.UnsolicitedReplies, 0);
  }
}

using CommandEngineTest = DeviceEngineTest;
TEST_F(CommandEngineTest, LoggerSilentOnIdentifyStillCountsAsConnected) {
  auto* t = InstallLoopback(16);
  t->shape = [](sim::Packet& p, long) { return p[11] != 0x91; };
  ASSERT_TRUE(BringUp());
  EXPECT_TRUE(dev_->link.LinkConfirmed);
  EXPECT_EQ(dev_->command.DeviceIdText, std::string(12, '\0'));
  EXPECT_EQ(ui_.Panel(2), std::string(12, '\0'));
}

TEST_F(CommandEngineTest, RejectedConnectLeavesTheLinkDown) {
  auto* t = InstallLoopback(16);
  t->shape = [](sim::Packet& p, long) {
    p[13] ^= 1;  // checksum
    return true;
  };
  dev_->StartScan();
  clock_.Advance(5000);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"command12 is error!"});
  EXPECT_FALSE(dev_->link.LinkConfirmed);
  EXPECT_EQ(dev_->command.Awaited, CommandCode::Connect);
  EXPECT_EQ(t->Commands(), std::vector<int>{0x12});  // nothing retries
  DownloadData(*dev_);
  SendSystemParameters(*dev_);
  EXPECT_EQ(ui_.messages.back(), "No Connet");
  EXPECT_EQ(t->Commands(), std::vector<int>{0x12});
}

TEST_F(CommandEngineTest, FailedConnectWriteRestartsTheScan) {
  auto* t = InstallLoopback(16);
  int refusals = 1;
  t->refuse_write = [&](const uint8_t*, int) { return refusals-- > 0; };
  ASSERT_TRUE(BringUp());
  EXPECT_EQ(t->Commands(), (std::vector<int>{0x12, 0x11}));
  const auto panel1 = ui_.PanelTexts(1);
  EXPECT_EQ(panel1.front(), "Scan for usb devices....1");
  EXPECT_EQ(std::count(panel1.begin(), panel1.end(), "find set"), 2);
}

// The parameters as they stand go out in the 38-byte frame, every field in its
// place and 16-bit values high byte first; an accepted reply shows the
// language's text, a rejected one nothing, and the reply stays awaited.
TEST_F(CommandEngineTest, SystemParameterSendsTheParametersAsTheyStand) {
  const struct {
    int16_t language;
    bool rejected;
    const char* connected;
    const char* sent;
  } cases[] = {{1, false, "Connet    OK", "Send parameter ok"}, {0, false, "连接成功", "发送参数成功"},
               {0, true, "连接成功", "LOOPBACK0001"}};
  auto& p = params_;
  p.RecordInterval = 0x1234, p.IntervalUnit = 1, p.LedCycle = 2, p.CriticalX = 3, p.CriticalY = 4, p.CriticalZ = 5;
  p.RecordMode = 1, p.WorkMode = 2, p.LimitTime = 0x0102;
  p.CurYear = 26, p.CurMonth = 12, p.CurDay = 6, p.CurHour = 20, p.CurMinute = 1, p.CurSecond = 59;
  p.StartYear = 27, p.StartMonth = 1, p.StartDay = 2, p.StartHour = 3, p.StartMinute = 4, p.StartSecond = 5;
  const std::vector<uint8_t> data = {0x12, 0x34, 1, 2, 3, 4, 5, 1, 2, 26, 12, 6,
                                     20, 1, 59, 27, 1, 2, 3, 4, 5, 0x01, 0x02};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    params_.LanguageFlag = c.language;
    auto* t = InstallLoopback(16);
    ASSERT_TRUE(BringUp());
    EXPECT_EQ(ui_.Panel(1), c.connected);
    t->shape = [&](sim::Packet& r, long) {
      if (c.rejected && r[11] == 0xA0) r[13] = 0;
      return 1;
    };
    SendSystemParameters(*dev_);
    ASSERT_EQ(t->written.size(), 3u);
    const auto& f = t->written.back();
    ASSERT_EQ(f.size(), 38u);
    EXPECT_EQ(f[11], 0x20);
    EXPECT_EQ(f[12], 23);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), f.begin() + 13));
    EXPECT_EQ(f[36], FrameChecksum(f, 35));
    EXPECT_EQ(f[37], 0x16);
    EXPECT_FALSE(params_.ParameterAccepted);
    clock_.Advance(1000);
    EXPECT_EQ(ui_.Panel(2), c.sent);
    EXPECT_EQ(dev_->command.Awaited, c.rejected ? CommandCode::SetParameters : CommandCode::None);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(t->logger.ParametersSet());
    EXPECT_TRUE(std::equal(data.begin(), data.end(), t->logger.Parameters().begin()));
  }
}

TEST_F(CommandEngineTest, SystemParameterRespectsTheDialogAndTheLink) {
  auto* t = InstallLoopback(16);
  ASSERT_TRUE(BringUp());

  // Busy with another operation: nothing at all.
  data_.MenuCommandCode = MenuOperation::Download;
  SendSystemParameters(*dev_);
  EXPECT_EQ(t->written.size(), 2u);
  EXPECT_TRUE(ui_.messages.empty());
  data_.MenuCommandCode = MenuOperation::None;

  // Dialog cancelled.
  ui_.parameter_dialog = [this] { params_.ParameterAccepted = false; };
  SendSystemParameters(*dev_);
  EXPECT_EQ(t->written.size(), 2u);

  // The link is lost while the dialog is open.
  ui_.parameter_dialog = [&] {
    params_.ParameterAccepted = true;
    dev_->link.LinkConfirmed = false;
  };
  SendSystemParameters(*dev_);
  EXPECT_EQ(t->written.size(), 2u);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"No connect machine!"});
  EXPECT_FALSE(params_.ParameterAccepted);
}

TEST(VirtualClock, TicksInDueOrderAtTheirIntervals) {
  VirtualClock clock;
  std::vector<std::string> log;
  auto a = clock.MakeTimer();
  auto b = clock.MakeTimer();
  a->OnTick = [&] { log.push_back("a" + std::to_string(clock.Now())); };
  b->OnTick = [&] { log.push_back("b" + std::to_string(clock.Now())); };
  a->Start(20);
  b->Start(50);
  clock.Advance(100);
  // At 100 both are due; b's period was armed at 50, a's at 80, so b goes first.
  EXPECT_EQ(log, (std::vector<std::string>{"a20", "a40", "b50", "a60", "a80", "b100", "a100"}));
  EXPECT_EQ(clock.Now(), 100);
}

TEST(VirtualClock, WindowTimerSemantics) {
  VirtualClock clock;
  auto t = clock.MakeTimer();
  std::vector<int64_t> ticks;
  t->OnTick = [&] { ticks.push_back(clock.Now()); };

  // Created disabled: nothing ticks.
  t->SetInterval(10);
  clock.Advance(50);
  EXPECT_TRUE(ticks.empty());

  t->SetEnabled(true);  // due at 60
  clock.Advance(5);     // 55
  t->SetEnabled(true);  // already running: phase kept
  clock.Advance(5);
  EXPECT_EQ(ticks, (std::vector<int64_t>{60}));

  clock.Advance(5);      // 65
  t->SetInterval(10);    // re-arms: due at 75, not 70
  clock.Advance(12);
  EXPECT_EQ(ticks, (std::vector<int64_t>{60, 75}));

  t->SetInterval(0);  // enabled, but an interval of 0 never ticks
  EXPECT_TRUE(t->IsEnabled());
  clock.Advance(100);
  EXPECT_EQ(ticks.size(), 2u);
}

TEST(VirtualClock, TimersOutlivingTheClock) {
  std::unique_ptr<Timer> survivor;
  {
    VirtualClock clock;
    survivor = clock.MakeTimer();
    survivor->Start(10);
  }
  // The clock is gone; the timer is inert but safe.
  survivor->SetInterval(5);
  survivor->Stop();
  EXPECT_FALSE(survivor->IsEnabled());
}

}  // namespace
}  // namespace accelog::testing
