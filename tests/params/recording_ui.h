#pragma once
// Fakes for the parameter tests: a message port that records every message,
// and a keypad that plays a script through the real keypad steps.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/ui_port.h"
#include "params/keypad.h"

namespace accelog::testing {

class RecordingUi : public UiPort {
 public:
  struct Shown {
    std::string text;
    MessageIcon icon;
  };
  void Message(const std::string& text, MessageIcon icon) override { messages.push_back({text, icon}); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& m : messages) t.push_back(m.text);
    return t;
  }
  std::vector<Shown> messages;
};

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
  void Cancel() {
    steps.push_back([](DialogInputForm& f) { CancelDialogInput(f); });
  }
  std::deque<Step> steps;
  std::vector<DialogInputForm> shown;
};

// Installs the fakes for one test and removes them afterwards.
struct FakePorts {
  FakePorts() {
    SetUi(&ui);
    SetKeypadPort(&keypad);
  }
  ~FakePorts() {
    SetUi(nullptr);
    SetKeypadPort(nullptr);
  }
  RecordingUi ui;
  ScriptedKeypad keypad;
};

}  // namespace accelog::testing
