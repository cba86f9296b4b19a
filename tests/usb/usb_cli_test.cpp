// accelog-cli through --device usb: libusb's real Linux backend against the
// logger emulated at the usbfs level.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "sim/recording.h"
#include "usb/emulated_logger.h"

namespace accelog::testing {
namespace {

class UsbCliTest : public CliDeviceTest {
 protected:
  void SetUp() override {
    if (const std::string why = UsbEmulationMissing(); !why.empty()) GTEST_SKIP() << why;
    CliDeviceTest::SetUp();
    bed_ = std::make_unique<UsbTestbed>();
  }
  void TearDown() override { bed_.reset(); }

  // accelog-cli --device usb ARGS; a logger whose fault plan unplugged it
  // leaves the bus meanwhile.
  int Usb(std::vector<std::string> args, int limit_ms = 60000) {
    args.insert(args.begin(), {"--device", "usb"});
    return StartCli(args)->Wait(limit_ms, [&] { bed_->RemoveUnplugged(); });
  }

  std::unique_ptr<UsbTestbed> bed_;
};

TEST_F(UsbCliTest, ScanFindsAndIdentifiesTheLogger) {
  EmulatedLoggerOptions o;
  o.id_text = "USBLOGGER001";
  bed_->Plug(sim::MakeRecording(20, 1), o);
  ASSERT_EQ(Usb({"scan"}), 0) << CliErr();
  EXPECT_EQ(CliOut(), "USBLOGGER001\n");
  EXPECT_NE(CliErr().find("[1] find set"), std::string::npos) << CliErr();
  EXPECT_NE(CliErr().find("[1] Connet    OK"), std::string::npos) << CliErr();
}

}  // namespace
}  // namespace accelog::testing
