// Escape in the main window stops a running download, and only that.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "device_fixture.h"
#include "ui/main_window.h"

namespace accelog::testing {
namespace {

class StopKeyTest : public DeviceEngineTest {};

TEST_F(StopKeyTest, EscapeStopsADownload) {
  ASSERT_TRUE(Fresh(800));
  MainWindow window(nullptr, data_);
  window.SetHandlers({{"Escape", [&] { dev_->StopDownload(); }}});
  window.show();
  QApplication::setActiveWindow(&window);
  QTest::keyClick(&window, Qt::Key_Escape);  // idle: nothing to stop, nothing shown
  EXPECT_TRUE(ui_.messages.empty());
  ui_.save_name = folder_.File("out.kvx");
  DownloadData(*dev_);
  ASSERT_TRUE(clock_.RunUntil([&] { return dev_->download.BlockIndex >= 5; }, 100000));
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(dev_->download.Outcome, DownloadOutcome::Stopped);
}

}  // namespace
}  // namespace accelog::testing
