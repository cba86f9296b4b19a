// GoogleTest main for tests that need a QApplication (widgets, timers).
#include "support/qt_tests.h"

int main(int argc, char** argv) { return RunQtTests(argc, argv); }
