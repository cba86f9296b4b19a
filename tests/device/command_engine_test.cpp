#include <gtest/gtest.h>

#include "device/frames.h"
#include "device_fixture.h"

namespace accelog::testing {
namespace {

class CommandEngineTest : public DeviceEngineTest {};

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

// The parameters as they stand go out in the 38-byte frame; an accepted reply
// shows the language's text, a rejected one nothing, and the reply stays awaited.
TEST_F(CommandEngineTest, SystemParameterSendsTheParametersAsTheyStand) {
  const struct {
    int16_t language;
    bool rejected;
    const char* connected;
    const char* sent;
  } cases[] = {{1, false, "Connet    OK", "Send parameter ok"}, {0, false, "连接成功", "发送参数成功"},
               {0, true, "连接成功", "LOOPBACK0001"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    params_.LanguageFlag = c.language;
    auto* t = InstallLoopback(16);
    ASSERT_TRUE(BringUp());
    EXPECT_EQ(ui_.Panel(1), c.connected);
    t->shape = [&](sim::Packet& p, long) {
      if (c.rejected && p[11] == 0xA0) p[13] = 0;
      return 1;
    };
    params_.RecordInterval = 250;
    params_.CriticalY = 33;
    params_.LimitTime = 1000;
    SendSystemParameters(*dev_);
    ASSERT_EQ(t->written.size(), 3u);
    const auto expected = BuildParameterFrame(params_);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), t->written.back().begin()));
    EXPECT_EQ(t->written.back().size(), 38u);
    EXPECT_FALSE(params_.ParameterAccepted);
    clock_.Advance(1000);
    EXPECT_EQ(ui_.Panel(2), c.sent);
    EXPECT_EQ(dev_->command.Awaited, c.rejected ? CommandCode::SetParameters : CommandCode::None);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(t->logger.ParametersSet());
    EXPECT_TRUE(std::equal(expected.begin() + 13, expected.begin() + 36, t->logger.Parameters().begin()));
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

}  // namespace
}  // namespace accelog::testing
