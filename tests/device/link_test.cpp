#include <gtest/gtest.h>

#include <cstring>

#include "device/frames.h"
#include "device_fixture.h"

namespace accelog::testing {
namespace {

class LinkTest : public DeviceEngineTest {};

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

TEST_F(LinkTest, SixFailedPassesEndInNoDevice) {
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

  // A reset starts a fresh series of six; this time the logger is there.
  t->paths = {SimulatedDevicePath("/loopback")};
  dev_->StartScan();
  clock_.Advance(500);
  EXPECT_EQ(ui_.Panel(1), "Scan for usb devices....1");
  EXPECT_TRUE(dev_->link.DeviceFound);
}

TEST_F(LinkTest, FoundDeviceIsAnnouncedOnTheNextTickThenConnectedAndIdentified) {
  auto* t = InstallLoopback(16);
  dev_->StartScan();
  clock_.Advance(500);
  EXPECT_TRUE(dev_->link.DeviceFound);
  EXPECT_FALSE(dev_->link.DeviceConnected);
  EXPECT_TRUE(t->written.empty());
  clock_.Advance(500);  // 1000: "find set" and the connect command
  EXPECT_EQ(ui_.Panel(1), "find set");
  EXPECT_TRUE(dev_->link.DeviceConnected);
  EXPECT_EQ(t->Commands(), std::vector<int>{0x12});
  EXPECT_EQ(dev_->command.Awaited, CommandCode::Connect);
  clock_.Advance(499);
  EXPECT_FALSE(dev_->link.LinkConfirmed);
  clock_.Advance(1);  // 1500: the reply is read
  EXPECT_TRUE(dev_->link.LinkConfirmed);
  EXPECT_EQ(ui_.Panel(1), "Connet    OK");
  EXPECT_EQ(t->Commands(), (std::vector<int>{0x12, 0x11}));
  clock_.Advance(500);  // 2000
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

}  // namespace
}  // namespace accelog::testing
