// The USB tests run under umockdev's preload (re-run once to load it), with
// a QApplication for the window's device watch.
#include <gtest/gtest.h>

#include <QApplication>

#include "usb/emulated_logger.h"

int main(int argc, char** argv) {
  accelog::testing::RunUnderUmockdev(argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
  QApplication::setApplicationName("accelog");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
