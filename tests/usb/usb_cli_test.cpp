// accelog-cli through --device usb: libusb's real Linux backend against the
// logger emulated at the usbfs level, the program a separate process.
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <linux/capability.h>

#include "cli/cli_fixture.h"
#include "sim/recording.h"
#include "support/kvx_builder.h"
#include "support/run_program.h"
#include "usb/emulated_logger.h"

namespace accelog::testing {
namespace {

class UsbCliTest : public CliDeviceTest {
 protected:
  void SetUp() override {
    if (const std::string why = UsbEmulationMissing(); !why.empty()) GTEST_SKIP() << why;
    CliDeviceTest::SetUp();
    FreshTestbed();
  }
  void TearDown() override { bed_.reset(); }
  // One testbed at a time: the old one takes UMOCKDEV_DIR with it.
  void FreshTestbed() {
    bed_.reset();
    bed_ = std::make_unique<UsbTestbed>();
  }

  EmulatedLogger& Plug(uint32_t samples, const std::string& id = "ACCELOG-USB1", int address = 2) {
    return bed_->Plug(sim::MakeRecording(samples, 3), {.address = address, .id_text = id});
  }
  // accelog-cli --device usb ARGS; a logger whose fault plan unplugged it
  // leaves the bus meanwhile.
  int Usb(std::vector<std::string> args, int limit_ms = 60000) {
    args.insert(args.begin(), {"--device", "usb"});
    return StartCli(args)->Wait(limit_ms, [&] { bed_->RemoveUnplugged(); });
  }
  bool ErrHas(const std::string& text) const { return CliErr().find(text) != std::string::npos; }

  std::unique_ptr<UsbTestbed> bed_;
};

// Interrupt and bulk endpoints, and a kernel driver that libusb must detach
// before it can claim the interface; every frame of the session in the trace.
// Of two loggers the lower address is taken, whichever came first.
TEST_F(UsbCliTest, ScanConnectsAndIdentifiesOnEveryEndpointKind) {
  for (const EmulatedLoggerOptions& o : {EmulatedLoggerOptions{.id_text = "USBLOGGER001"},
                                         {.bulk = true, .id_text = "USBLOGGER001"},
                                         {.kernel_driver = "usbhid", .id_text = "USBLOGGER001"}}) {
    SCOPED_TRACE(std::string(o.bulk ? "bulk" : "interrupt") + " " + o.kernel_driver);
    FreshTestbed();
    const EmulatedLogger& later = Plug(20, "AT-ADDRESS-5", 5);
    EmulatedLogger& logger = bed_->Plug(sim::MakeRecording(20, 1), o);
    const std::string trace = folder_.File("scan.trace");
    ASSERT_EQ(Usb({"--trace", trace, "scan"}), 0) << CliErr();
    EXPECT_EQ(CliOut(), "USBLOGGER001\n");
    EXPECT_TRUE(ErrHas("[1] find set") && ErrHas("[1] Connet    OK")) << CliErr();
    EXPECT_EQ(logger.DriverDetaches(), o.kernel_driver.empty() ? 0 : 1);
    EXPECT_EQ(logger.Received().size(), 2u);  // connect and identify, nothing more
    EXPECT_TRUE(later.Received().empty());
    // Connect and identify, each way, with the device it went through.
    const std::string lines = ReadText(trace);
    for (const char* line : {" = open usb#vid_1041&pid_8102#001-002\n", " > 15 FEFEFEFE68A0A1A2A3A46812000C16\n",
                             " < 15 FEFEFEFE68A0A1A2A3A46892008C16\n", " > 15 FEFEFEFE68A0A1A2A3A46811000B16\n",
                             " < 27 FEFEFEFE68A0A1A2A3A468910C5553424C4F47474552303031"}) {
      EXPECT_NE(lines.find(line), std::string::npos) << line << " in\n" << lines;
    }
  }
}

TEST_F(UsbCliTest, SetParamsSendsTheParameterFrame) {
  EmulatedLogger& logger = Plug(5);
  ASSERT_EQ(Usb({"set-params", "--interval", "300", "--unit", "min", "--led", "5", "--critical", "1,2,3",
                 "--record-mode", "critical", "--work-mode", "timing", "--clock", "2026-05-14 14:35:20", "--start",
                 "2026-05-15 08:00:00", "--limit", "900"}),
            0)
      << CliErr();
  EXPECT_TRUE(ErrHas("[2] Send parameter ok")) << CliErr();
  ASSERT_TRUE(logger.ParametersSet());
  const std::array<uint8_t, 23> want = {0x01, 0x2C, 2, 5, 1, 2, 3, 1, 2, 26, 5, 14,
                                        14, 35, 20, 26, 5, 15, 8, 0, 0, 0x03, 0x84};
  EXPECT_EQ(logger.Parameters(), want);
}

// A byte-exact download with every kind of fault crossing the bus together
// (each kind alone is the socket download tests', DownloadFaultTest), the
// frame trace on: a full logger's trace must stay under 10 MB.
TEST_F(UsbCliTest, DownloadIsByteExactUnderFaults) {
  constexpr uint32_t kSamples = 803;  // 101 blocks, the last partial
  EmulatedLogger& logger = Plug(kSamples);
  logger.SetFaults({.corrupt = 0.03, .drop = 0.01, .late = 0.03, .late_ms = 400});
  const std::string out = folder_.File("usb.kvx"), trace = folder_.File("usb.trace");
  ASSERT_EQ(Usb({"--trace", trace, "download", out}), 0) << CliErr();
  EXPECT_TRUE(ErrHas("[2] Download End")) << CliErr();
  EXPECT_TRUE(ReadBytes(out) == logger.Memory().FileImage());
  EXPECT_EQ(CliOut(), out + "\n");
  const double per_block = static_cast<double>(ReadBytes(trace).size()) / 101.0;
  EXPECT_LT(per_block * 40950, 10e6) << per_block;
  // An existing file is refused without --overwrite, before any device work.
  EXPECT_EQ(Usb({"download", out}, 5000), 1);
  EXPECT_TRUE(ErrHas("--overwrite")) << CliErr();
  EXPECT_TRUE(ReadBytes(out) == logger.Memory().FileImage());
}

TEST_F(UsbCliTest, LiveAndLiveSpectrumCapture) {
  Plug(20);
  const auto live = sim::MakeRecording(512, EmulatedLoggerOptions{}.seed).samples;  // its live motion

  const std::string out = folder_.File("live.kvx");
  ASSERT_EQ(Usb({"live", out, "--unit", "ms", "--limit", "3", "--limit-kind", "count"}), 0) << CliErr();
  auto file = ReadBytes(out);
  ASSERT_EQ(file.size(), 19u + 18);
  EXPECT_EQ(HeadCount(file), 3u);
  EXPECT_TRUE(std::vector<unsigned char>(file.begin() + 19, file.end()) ==
              std::vector<unsigned char>(live.begin(), live.begin() + 18));

  // The logger's live motion goes on: the set follows the three samples.
  ASSERT_EQ(Usb({"live-spectrum", folder_.File("set"), "--sets", "1"}), 0) << CliErr();
  file = ReadBytes(folder_.File("setFrequency.Kvx"));
  ASSERT_EQ(file.size(), 1555u);
  EXPECT_TRUE(std::vector<unsigned char>(file.begin() + 19, file.end()) ==
              std::vector<unsigned char>(live.begin() + 18, live.begin() + 18 + 256 * 6));
}

// The logger leaves the bus: its transfers fail with "no device", and the
// run ends as with a closed socket, every whole block or sample kept.
TEST_F(UsbCliTest, UnplugMidDownloadAndMidCapture) {
  Plug(4000).SetFaults({.close_after = 40});
  const std::string out = folder_.File("cut.kvx");
  EXPECT_EQ(Usb({"download", out}), 1) << CliErr();
  EXPECT_TRUE(ErrHas("[2] Download failed") && ErrHas("296 of 4000 samples kept")) << CliErr();
  // Connect, identify and the inquiry took 3 replies; 37 blocks arrived.
  EXPECT_EQ(ReadBytes(out).size(), 19u + 37 * 48);

  FreshTestbed();
  Plug(20).SetFaults({.close_after = 12});
  const std::string capture = folder_.File("cut-live.kvx");
  const int code = Usb({"live", capture, "--unit", "ms", "--limit", "1000", "--limit-kind", "count"}, 30000);
  EXPECT_NE(code, -1) << "the capture did not end";
  EXPECT_NE(code, 0) << CliErr();
  const auto file = ReadBytes(capture);
  EXPECT_GE(HeadCount(file), 1u);
  EXPECT_LE(HeadCount(file), 10u);
  EXPECT_EQ(file.size(), 19 + 6 * HeadCount(file));
  // The device gone ends the run at once, not eleven rejections later.
  EXPECT_TRUE(ErrHas("No Device !")) << CliErr();
  EXPECT_FALSE(ErrHas("data is erro!2")) << CliErr();
}

// What the user can fix is said, not just "No Device !".
TEST_F(UsbCliTest, ANodeThatCannotBeOpenedOrIsClaimedIsExplained) {
  bed_->Plug(sim::MakeRecording(20, 1), {.claimed_elsewhere = true});
  EXPECT_EQ(Usb({"scan"}), 1);
  EXPECT_TRUE(ErrHas("[1] No Device !") && ErrHas("in use by another program")) << CliErr();

  FreshTestbed();
  bed_->DenyAccess(Plug(20));
  // Root opens any node: the program runs without the capabilities that let it.
  const RunResult r = RunProgram({ACCELOG_CLI, "--device", "usb", "scan"}, 0, [] {
    if (::geteuid() == 0 && (::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0 ||
                             ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) != 0)) {
      ::_exit(77);
    }
  });
  if (r.code == 77) GTEST_SKIP() << "root here cannot drop CAP_DAC_OVERRIDE";
  EXPECT_EQ(r.code, 1);
  for (const char* text : {"[1] No Device !", "permission denied", "70-accelog.rules", "udevadm control --reload-rules"})
    EXPECT_NE(r.err.find(text), std::string::npos) << text << " in\n" << r.err;
}

}  // namespace
}  // namespace accelog::testing
