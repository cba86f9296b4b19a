#pragma once
// The numeric keypad every numeric field of the parameter dialog is edited
// through: the window's state and steps without widgets, the value it hands
// back, and the port that shows it.
#include <cstdint>
#include <optional>
#include <string>

namespace accelog {

class UiPort;

// The window's controls and, once OK took the entry, its value.
struct KeypadForm {
  std::string Caption;   // window caption
  std::string Entry;     // the edited text
  std::string Maximum;   // display only
  std::string Minimum;   // display only
  std::string Decimals;  // decimals allowed, display only
  std::optional<int16_t> Value;
  bool Closed = false;
};

struct KeypadCaptions {
  const char* Window;
  const char* Maximum;
  const char* Minimum;
  const char* Entry;
  const char* Decimals;
  const char* Keys;  // the frame around the keys
  const char* Backspace;
  const char* OKButton;
  const char* CancelButton;
};
// The English set for LanguageFlag 1, the Chinese set otherwise.
const KeypadCaptions& KeypadCaptionsFor(int16_t language_flag);

// A fresh form with the default caption and nothing accepted.
KeypadForm NewKeypadForm();
// The keys "1".."9", "0", "-", "." append to the entry.
void PressKeypadKey(KeypadForm& form, char key);
// "Backspace": empties the entry.
void KeypadBackspace(KeypadForm& form);
// OK: the value when the entry was accepted and the window closes; otherwise
// the first failing check's message was shown and the window stays.
std::optional<int16_t> ConfirmKeypadEntry(UiPort& ui, KeypadForm& form);
void CancelKeypad(KeypadForm& form);

// How the keypad is shown modally: the Qt window in the program, a script in
// tests. Returns what the form holds when it closed.
class KeypadPort {
 public:
  virtual ~KeypadPort() = default;
  virtual std::optional<int16_t> Show(KeypadForm& form) = 0;
};

}  // namespace accelog
