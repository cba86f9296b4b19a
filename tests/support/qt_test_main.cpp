// GoogleTest main for tests that need a QApplication (widgets, timers).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
  QApplication::setApplicationName("accelog");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
