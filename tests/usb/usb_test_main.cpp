// The USB tests run under umockdev's preload (re-run once to load it), with
// a QApplication for the window's device watch.
#include "support/qt_tests.h"
#include "usb/emulated_logger.h"

int main(int argc, char** argv) {
  accelog::testing::RunUnderUmockdev(argv);
  return RunQtTests(argc, argv);
}
