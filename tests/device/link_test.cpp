#include <gtest/gtest.h>

#include <cstring>

#include "device/frames.h"
#include "device_fixture.h"
#include "sim/recording.h"

namespace accelog::testing {
namespace {

class LinkTest : public DeviceEngineTest {
 protected:
  LoopbackTransport* Install(std::vector<std::string> paths) {
    auto t = std::make_unique<LoopbackTransport>(sim::MakeRecording(16, 1));
    t->paths = std::move(paths);
    auto* raw = t.get();
    SetDeviceTransport(std::move(t));
    return raw;
  }
};

TEST(DevicePath, VendorAndProductFieldsAreHexadecimal) {
  int16_t v = 0, p = 0;
  ASSERT_TRUE(ParseDeviceIds("usb#vid_1041&pid_8102#001-004", v, p));
  EXPECT_EQ(v, 4161);
  EXPECT_EQ(p, -32510);
  ASSERT_TRUE(ParseDeviceIds("\\\\?\\usb#VID_1041&PID_8102#6&abc#{a5dcbf10}", v, p));
  EXPECT_EQ(p, -32510);
  ASSERT_TRUE(ParseDeviceIds("x#vid_10zz&pid_81", v, p));
  EXPECT_EQ(v, 0);  // not four hex digits
  EXPECT_EQ(p, 0);  // cut short
  EXPECT_FALSE(ParseDeviceIds("no hash here", v, p));
  EXPECT_FALSE(ParseDeviceIds(std::string(100, 'a') + "#vid_1041&pid_8102#", v, p));
  EXPECT_TRUE(ParseDeviceIds(std::string(99, 'a') + "#vid_1041&pid_8102#", v, p));
}

TEST_F(LinkTest, SixFailedPassesEndInNoDevice) {
  auto* t = Install({});
  usbDeviceDetect();
  clock_.Advance(3000);
  const std::vector<std::string> expected = {
      "Scan for usb devices....1", "Scan for usb devices....2", "Scan for usb devices....3",
      "Scan for usb devices....4", "Scan for usb devices....5", "Scan for usb devices....6",
      "No Device !"};
  EXPECT_EQ(ui_.panels[1], expected);
  EXPECT_FALSE(Timers.Timer4->IsEnabled());
  EXPECT_TRUE(Link.ScanGaveUp);
  EXPECT_FALSE(Link.DeviceConnected);
  clock_.Advance(5000);
  EXPECT_EQ(ui_.panels[1].size(), expected.size());

  // A reset starts a fresh series of six; this time the logger is there.
  t->paths = {SimulatedDevicePath("/loopback")};
  usbDeviceDetect();
  clock_.Advance(500);
  EXPECT_EQ(ui_.Panel(1), "Scan for usb devices....1");
  EXPECT_TRUE(Link.DeviceFound);
}

TEST_F(LinkTest, FoundDeviceIsAnnouncedOnTheNextTickThenConnectedAndIdentified) {
  auto* t = Install({SimulatedDevicePath("/loopback")});
  usbDeviceDetect();
  clock_.Advance(500);
  EXPECT_TRUE(Link.DeviceFound);
  EXPECT_FALSE(Link.DeviceConnected);
  EXPECT_TRUE(t->written.empty());
  clock_.Advance(500);  // 1000: "find set" and the connect command
  EXPECT_EQ(ui_.Panel(1), "find set");
  EXPECT_TRUE(Link.DeviceConnected);
  EXPECT_EQ(t->Commands(), std::vector<int>{0x12});
  EXPECT_EQ(Command.CommandCode, 12);
  clock_.Advance(499);
  EXPECT_FALSE(Link.LinkConfirmed);
  clock_.Advance(1);  // 1500: the reply is read
  EXPECT_TRUE(Link.LinkConfirmed);
  EXPECT_EQ(ui_.Panel(1), "Connet    OK");
  EXPECT_EQ(t->Commands(), (std::vector<int>{0x12, 0x11}));
  clock_.Advance(500);  // 2000
  EXPECT_EQ(ui_.Panel(2), "LOOPBACK0001");
  EXPECT_EQ(Command.DeviceIdText, "LOOPBACK0001");
  EXPECT_EQ(Command.CommandCode, 0);
  EXPECT_FALSE(Timers.Timer4->IsEnabled());
  EXPECT_FALSE(Timers.TimerMSComm->IsEnabled());
}

TEST_F(LinkTest, FirstMatchingPathWinsAndOthersAreClosed) {
  auto* t = Install({"usb#vid_1041&pid_8103#001-002", "no hash at all",
                     "usb#vid_1041&pid_8102#001-003", "usb#VID_1041&PID_8102#001-004"});
  EXPECT_TRUE(FindTheHid_Boolean());
  EXPECT_EQ(Link.DevicePathName, "usb#vid_1041&pid_8102#001-003");
  EXPECT_EQ(t->opens, 1);  // only the logger itself is ever opened
  EXPECT_EQ(Link.VendorID, 4161);
  EXPECT_EQ(Link.ProductID, -32510);

  t->paths = {"usb#VID_1041&PID_8102#002-001"};
  EXPECT_TRUE(FindTheHid_Boolean());  // upper-case fields match too

  const int opens = t->opens;
  t->paths = {"usb#vid_1041&pid_8103#001-002", "usb#vid_046d&pid_c52b#001-005"};
  EXPECT_FALSE(FindTheHid_Boolean());
  EXPECT_FALSE(t->open);
  EXPECT_EQ(t->opens, opens);  // other devices are left alone
}

TEST_F(LinkTest, ReadAndWriteRefuseAnUndetectedDevice) {
  auto* t = Install({SimulatedDevicePath("/loopback")});
  ASSERT_TRUE(FindTheHid_Boolean());
  Link.WriteLength = 15;
  EXPECT_FALSE(WriteReport_Boolean());
  EXPECT_FALSE(ReadReport_Boolean());
  EXPECT_EQ(ui_.messages, (std::vector<std::string>{"Please First Detect the Device!",
                                                    "Please First Detect the Device!"}));
  EXPECT_TRUE(t->written.empty());
}

TEST_F(LinkTest, ReadClearsTheFirst255BytesWhateverItAsksFor) {
  Install({SimulatedDevicePath("/loopback")});
  ASSERT_TRUE(FindTheHid_Boolean());
  Link.DeviceConnected = true;
  std::memset(Link.ReadBuffer, 0xEE, sizeof Link.ReadBuffer);
  Link.ReadLength = 15;
  EXPECT_FALSE(ReadReport_Boolean());  // nothing to read
  for (int i = 0; i < 255; ++i) ASSERT_EQ(Link.ReadBuffer[i], 0) << i;
  EXPECT_EQ(Link.ReadBuffer[255], 0xEE);
}

TEST_F(LinkTest, LateReplyIsNeverTakenForTheNextCommand) {
  auto* t = Install({SimulatedDevicePath("/loopback")});
  ASSERT_TRUE(FindTheHid_Boolean());
  Link.DeviceConnected = true;
  // The first reply (to 0x12) comes 150 ms late; the read waits 100 ms.
  t->delay_ms = [](long n) { return n == 0 ? 150 : 0; };
  auto send = [](uint8_t control) {
    const auto f = BuildCommandFrame(control);
    std::memcpy(Link.WriteBuffer, f.data(), f.size());
    Link.WriteLength = 15;
    return WriteReport_Boolean();
  };
  ASSERT_TRUE(send(0x12));
  Link.ReadLength = 15;
  EXPECT_FALSE(ReadReport_Boolean());
  EXPECT_EQ(Link.OwedReplies, 1);
  ASSERT_TRUE(send(0x23));
  Link.ReadLength = 34;
  EXPECT_TRUE(ReadReport_Boolean());
  EXPECT_TRUE(CheckCommand23_Boolean(std::span<const uint8_t>(Link.ReadBuffer, 34)));
  EXPECT_EQ(Link.StaleRepliesDiscarded, 1);
  EXPECT_EQ(Link.OwedReplies, 0);
}

TEST_F(LinkTest, LostReplyIsWaitedForOnlyForTheGracePeriod) {
  auto* t = Install({SimulatedDevicePath("/loopback")});
  ASSERT_TRUE(FindTheHid_Boolean());
  Link.DeviceConnected = true;
  t->shape = [](sim::Packet&, long n) { return n != 0; };  // the first reply is lost
  const auto f = BuildCommandFrame(0x12);
  std::memcpy(Link.WriteBuffer, f.data(), f.size());
  Link.WriteLength = 15;
  ASSERT_TRUE(WriteReport_Boolean());
  Link.ReadLength = 15;
  EXPECT_FALSE(ReadReport_Boolean());
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(WriteReport_Boolean());
  const auto waited = std::chrono::steady_clock::now() - before;
  EXPECT_LT(waited, std::chrono::milliseconds(Link.StaleReplyGraceMs + 50));
  EXPECT_TRUE(ReadReport_Boolean());
  EXPECT_TRUE(CheckCommand12_Boolean(std::span<const uint8_t>(Link.ReadBuffer, 15)));
}

}  // namespace
}  // namespace accelog::testing
