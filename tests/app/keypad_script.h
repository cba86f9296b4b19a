#pragma once
// A keypad for the parameter tests that plays a script through the real
// keypad steps, installed together with the recording message port.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/keypad.h"
#include "support/installed_ui.h"

namespace accelog::testing {

// Each Show() plays steps until the window closes or the script ends: a
// step sees the form as it stands and acts on it (types, presses OK or
// Cancel).
class ScriptedKeypad : public KeypadPort {
 public:
  using Step = std::function<void(DialogInputForm&)>;
  void Show(DialogInputForm& form) override {
    shown.push_back(form);
    while (!form.Closed && !steps.empty()) {
      Step step = steps.front();
      steps.pop_front();
      step(form);
    }
  }
  // Types the entry and presses OK.
  void Enter(const std::string& entry) {
    steps.push_back([entry](DialogInputForm& f) {
      f.Text1 = entry;
      OkDialogInput(f);
    });
  }
  std::deque<Step> steps;
  std::vector<DialogInputForm> shown;
};

// Installs the fakes for one test and removes them afterwards.
struct FakePorts {
  FakePorts() { SetKeypadPort(&keypad); }
  ~FakePorts() { SetKeypadPort(nullptr); }
  InstalledUi<> ui;
  ScriptedKeypad keypad;
};

}  // namespace accelog::testing
