// The whole program offscreen on --device usb: the window's device watch
// hears the logger arrive and leave through libusb's hotplug events, and the
// scan follows. Timers are real.
#include <gtest/gtest.h>

#include "ui/device_watch.h"
#include "ui/main_ui.h"
#include "ui/program.h"
#include "sim/recording.h"
#include "support/temp_folder.h"
#include "support/wait_for.h"
#include "usb/emulated_logger.h"

namespace accelog {
namespace {

class PanelLog : public MainUi {
 public:
  using MainUi::MainUi;
  void Message(const std::string& text, MessageIcon) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

using testing::WaitFor;

TEST(UsbWindowTest, HotplugArrivalAndRemovalReachTheDeviceWatch) {
  if (const std::string why = testing::UsbEmulationMissing(); !why.empty()) GTEST_SKIP() << why;
  testing::TempFolder folder;
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder.File("data")));
  testing::UsbTestbed bed;
  ProgramOptions o;
  o.device = "usb";
  o.trace = folder.File("window.trace");
  o.lock_folder = QString::fromStdString(folder.File("run"));
  PanelLog* ui = nullptr;
  auto p = std::make_unique<Program>(o, [&](MainWindow* w, FormPicture* c) {
    auto made = std::make_unique<PanelLog>(w, c);
    if (w) ui = made.get();
    return made;
  });
  ASSERT_TRUE(p->Start());
  int changes = 0;
  QObject::connect(p->Watch(), &DeviceWatch::DeviceChanged, [&] { ++changes; });
  auto panel = [&](int n) { return ui->PanelText(n).toStdString(); };
  ASSERT_TRUE(WaitFor([&] { return panel(1) == "No Device !"; }, 6000));

  testing::EmulatedLogger& logger = bed.Plug(sim::MakeRecording(20, 1));
  ASSERT_TRUE(WaitFor([&] { return panel(1) == "Connet    OK" && panel(2) == "ACCELOG-USB1"; }, 6000))
      << panel(1) << " after " << changes << " device changes";
  EXPECT_GE(changes, 1);

  const int before = changes;
  bed.Unplug(logger);
  ASSERT_TRUE(WaitFor([&] { return panel(1) == "No Device !"; }, 6000)) << panel(1);
  EXPECT_GT(changes, before);
  EXPECT_TRUE(ui->messages.empty());
  p.reset();
  // The program's frame trace holds the session.
  const auto bytes = testing::ReadBytes(folder.File("window.trace"));
  const std::string trace(bytes.begin(), bytes.end());
  EXPECT_NE(trace.find(" = open usb#vid_1041&pid_8102#001-002\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find(" < 27 "), std::string::npos) << trace;
}

}  // namespace
}  // namespace accelog
