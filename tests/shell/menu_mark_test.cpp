// The check marks of the two live items belong to their handlers: a click
// shows what the handler left, never Qt's own toggle.
#include <gtest/gtest.h>

#include <QAction>
#include <QWidget>

#include "shell/main_window.h"

namespace accelog {
namespace {

TEST(MenuMark, AClickShowsWhatTheHandlerLeft) {
  MainWindow window(new QWidget);
  bool running = false;
  window.SetHandlers({{"File011", [&] { window.SetMenuMark("File011", running = !running); }},
                      {"File009", [] {}}});  // refuses: no mark
  for (bool expected : {true, false, true}) {
    window.Action("File011")->trigger();
    EXPECT_EQ(window.Action("File011")->isChecked(), expected);
  }
  window.Action("File009")->trigger();
  EXPECT_FALSE(window.Action("File009")->isChecked());
}

}  // namespace
}  // namespace accelog
