#pragma once
// Runs the GoogleTest cases of a test program that needs a QApplication
// (widgets, timers), offscreen unless a platform is set.
int RunQtTests(int argc, char** argv);
