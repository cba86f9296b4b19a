#pragma once
// A keypad for the parameter tests that plays a script through the real
// keypad steps, with the recording message port installed beside it.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/keypad.h"
#include "support/recording_ui.h"

namespace accelog::testing {

// Each Show() plays steps until the window closes or the script ends: a
// step sees the form as it stands and acts on it (types, presses OK or
// Cancel).
class ScriptedKeypad : public KeypadPort {
 public:
  using Step = std::function<void(KeypadForm&)>;
  std::optional<int16_t> Show(KeypadForm& form) override {
    shown.push_back(form);
    while (!form.Closed && !steps.empty()) {
      Step step = steps.front();
      steps.pop_front();
      step(form);
    }
    return form.Value;
  }
  // Types the entry and presses OK.
  void Enter(const std::string& entry) {
    steps.push_back([this, entry](KeypadForm& f) {
      f.Entry = entry;
      ConfirmKeypadEntry(*ui, f);
    });
  }
  std::deque<Step> steps;
  std::vector<KeypadForm> shown;
  UiPort* ui = &own_ui;  // where the keypad's refusals go
  RecordingUi own_ui;
};

struct FakePorts {
  FakePorts() { keypad.ui = &ui; }
  RecordingUi ui;
  ScriptedKeypad keypad;
};

}  // namespace accelog::testing
