#include "app/keypad.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/ui_port.h"
#include "model/utils.h"
#include "model/numeric_text.h"

namespace accelog {

namespace {

const KeypadCaptions kEnglish = {"Input Data", "Max",  "Min",       "Input",
                                      "Number of decimal ", "Keyboard", "Backspace",
                                      "Ok",         "Cancel"};
const KeypadCaptions kChinese = {"Input Data", "最大值", "最小值",   "输入要设置的数",
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

const KeypadCaptions& KeypadCaptionsFor(int16_t language_flag) {
  return language_flag == 1 ? kEnglish : kChinese;
}

KeypadForm NewKeypadForm() {
  KeypadForm form;
  form.Caption = kEnglish.Window;
  return form;
}

void PressKeypadKey(KeypadForm& form, char key) {
  if ((key >= '0' && key <= '9') || key == '-' || key == '.') form.Entry += key;
}

void KeypadBackspace(KeypadForm& form) { form.Entry.clear(); }

std::optional<int16_t> ConfirmKeypadEntry(UiPort& ui, KeypadForm& form) {
  const auto entry = NumericValue(form.Entry);
  if (!entry) {
    ui.MessageWith("非法数据", MessageIcon::Exclamation, "  ", {});  // its title is two blanks
    return std::nullopt;
  }
  double v = *entry;
  const int d = static_cast<int>(NumericValue(form.Decimals).value_or(0));
  if (NumericValue(form.Maximum).value_or(0) < v) {
    ui.Message("Data is too big", MessageIcon::Exclamation);
    return std::nullopt;
  }
  if (NumericValue(form.Minimum).value_or(0) > v) {
    ui.Message("Data is small", MessageIcon::Exclamation);
    return std::nullopt;
  }
  v = std::fabs(v);
  const int count = DecimalCount(v);
  if (count > d) {
    ui.Message("Decimal digits too much  =" + std::string(" ") + std::to_string(count),
                 MessageIcon::Exclamation);
    return std::nullopt;
  }
  form.Entry = FormatDecimals(static_cast<float>(v), d);
  const double rounded = std::nearbyint(NumericValue(form.Entry).value_or(0));
  form.Value = static_cast<int16_t>(std::clamp(rounded, -32768.0, 32767.0));
  form.Closed = true;
  return form.Value;
}

void CancelKeypad(KeypadForm& form) {
  form.Value.reset();
  form.Closed = true;
}

}  // namespace accelog
