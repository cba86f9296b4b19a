#include "support/qt_tests.h"

#include <gtest/gtest.h>

#include <QApplication>

int RunQtTests(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
  QApplication::setApplicationName("accelog");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
