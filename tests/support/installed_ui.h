#pragma once
// A message port that is the program's for as long as it lives: a fixture
// member installs it with the fixture and takes it away with it.
#include "core/ui_port.h"
#include "support/recording_ui.h"

namespace accelog::testing {

template <class Ui = RecordingUi>
struct InstalledUi : Ui {
  InstalledUi() { SetUi(this); }
  ~InstalledUi() { SetUi(nullptr); }
  InstalledUi(const InstalledUi&) = delete;
  InstalledUi& operator=(const InstalledUi&) = delete;
};

}  // namespace accelog::testing
