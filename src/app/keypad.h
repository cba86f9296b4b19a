#pragma once
// DialogInput, the numeric keypad every numeric field of the parameter
// dialog is edited through: the window's state and steps without widgets,
// the two values it hands back, and the seam that shows it.
#include <cstdint>
#include <string>

namespace accelog {

// What the caller reads after the keypad closed.
struct KeypadResult {
  int16_t KeypadValue;
  bool KeypadAccepted;
};
extern KeypadResult Keypad;
void ResetKeypad();

// The window's controls.
struct DialogInputForm {
  std::string Caption;  // window caption
  std::string Text1;    // the entry
  std::string Text2;    // maximum (display only)
  std::string Text3;    // minimum (display only)
  std::string Text4;    // decimals allowed (display only)
  bool Closed = false;
};

struct DialogInputCaptions {
  const char* Window;
  const char* Label1;  // caption of Text2
  const char* Label2;  // caption of Text3
  const char* Label3;  // caption of Text1
  const char* Label4;  // caption of Text4
  const char* Frame2;  // around the keys
  const char* Backspace;
  const char* OKButton;
  const char* CancelButton;
};
// The English set for LanguageFlag 1, the Chinese set otherwise.
const DialogInputCaptions& DialogInputCaptionsFor(int16_t language_flag);

// The load step: KeypadAccepted cleared, default caption.
void LoadDialogInput(DialogInputForm& form);
// Command1..Command12: the keys "1".."9", "0", "-", "." append to the entry.
void PressKeypadKey(DialogInputForm& form, char key);
// Command13 "Backspace": empties the entry.
void KeypadBackspace(DialogInputForm& form);
// OK: true when the entry was accepted and the window closes; otherwise the
// first failing check's message was shown and the window stays.
bool OkDialogInput(DialogInputForm& form);
void CancelDialogInput(DialogInputForm& form);

// How the keypad is shown modally. The Qt layer installs the real window;
// tests install a scripted one. Without one nothing is shown and the
// caller sees KeypadAccepted False.
class KeypadPort {
 public:
  virtual ~KeypadPort() = default;
  virtual void Show(DialogInputForm& form) = 0;
};
void SetKeypadPort(KeypadPort* port);
bool KeypadPortInstalled();
// Shows the loaded and filled form modally.
void ShowDialogInput(DialogInputForm& form);

}  // namespace accelog
