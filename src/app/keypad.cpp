#include "app/keypad.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/ui_port.h"
#include "model/utils.h"
#include "model/numeric_text.h"

namespace accelog {

KeypadResult Keypad;

void ResetKeypad() { Keypad = {}; }

namespace {

KeypadPort* g_keypad_port = nullptr;

const DialogInputCaptions kEnglish = {"Input Data", "Max",  "Min",       "Input",
                                      "Number of decimal ", "Keyboard", "Backspace",
                                      "Ok",         "Cancel"};
const DialogInputCaptions kChinese = {"Input Data", "最大值", "最小值",   "输入要设置的数",
                                      "小数位数",   "小键盘", "Backspace", "确定",
                                      "取消"};

// The value written out in plain decimals, so a tiny fraction counts its
// places instead of hiding them in an exponent.
int DecimalCount(double v) {
  char buf[400];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  if (ec != std::errc()) return 0;
  const std::string_view text(buf, static_cast<size_t>(end - buf));
  const size_t dot = text.rfind('.');
  return dot == std::string_view::npos ? 0 : static_cast<int>(text.size() - dot - 1);
}

}  // namespace

const DialogInputCaptions& DialogInputCaptionsFor(int16_t language_flag) {
  return language_flag == 1 ? kEnglish : kChinese;
}

void LoadDialogInput(DialogInputForm& form) {
  Keypad.KeypadAccepted = false;
  form = {};
  form.Caption = kEnglish.Window;
}

void PressKeypadKey(DialogInputForm& form, char key) {
  if ((key >= '0' && key <= '9') || key == '-' || key == '.') form.Text1 += key;
}

void KeypadBackspace(DialogInputForm& form) { form.Text1.clear(); }

bool OkDialogInput(DialogInputForm& form) {
  const auto entry = NumericValue(form.Text1);
  if (!entry) {
    Ui().MessageWith("非法数据", MessageIcon::Exclamation, "  ", {});  // its title is two blanks
    return false;
  }
  double v = *entry;
  const int d = static_cast<int>(NumericValue(form.Text4).value_or(0));
  if (NumericValue(form.Text2).value_or(0) < v) {
    Ui().Message("Data is too big", MessageIcon::Exclamation);
    return false;
  }
  if (NumericValue(form.Text3).value_or(0) > v) {
    Ui().Message("Data is small", MessageIcon::Exclamation);
    return false;
  }
  v = std::fabs(v);
  const int count = DecimalCount(v);
  if (count > d) {
    Ui().Message("Decimal digits too much  =" + std::string(" ") + std::to_string(count),
                 MessageIcon::Exclamation);
    return false;
  }
  form.Text1 = FormatDecimals(static_cast<float>(v), d);
  const double rounded = std::nearbyint(NumericValue(form.Text1).value_or(0));
  Keypad.KeypadValue = static_cast<int16_t>(std::clamp(rounded, -32768.0, 32767.0));
  Keypad.KeypadAccepted = true;
  form.Closed = true;
  return true;
}

void CancelDialogInput(DialogInputForm& form) {
  Keypad.KeypadAccepted = false;
  form.Closed = true;
}

void SetKeypadPort(KeypadPort* port) { g_keypad_port = port; }
bool KeypadPortInstalled() { return g_keypad_port != nullptr; }

void ShowDialogInput(DialogInputForm& form) {
  if (g_keypad_port) g_keypad_port->Show(form);
}

}  // namespace accelog
