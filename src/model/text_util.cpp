#include "model/text_util.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace accelog {

std::string CutUtf8(std::string_view text, size_t max_bytes) {
  if (text.size() <= max_bytes) return std::string(text);
  size_t n = max_bytes;
  // Step back over continuation bytes to the start of the cut character.
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return std::string(text.substr(0, n));
}

std::string TrimBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\0')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\0')) --e;
  return std::string(text.substr(b, e - b));
}

std::string RemoveBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

namespace {

int SignificantDigits(const char* b, const char* e) {
  int n = 0;
  bool leading = true;
  for (const char* p = b; p < e && *p != 'e'; ++p) {
    if (*p < '0' || *p > '9') continue;
    if (leading && *p == '0') continue;
    leading = false;
    ++n;
  }
  return n;
}

// Drops trailing zeros of a fraction, and a dangling point.
void TrimFraction(std::string& s) {
  if (s.find('.') == std::string::npos) return;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
}

}  // namespace

std::string ExactFloatText(float value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string FloatText(float value, bool with_leading_zero) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0.0f) return "0";
  char buf[64];
  const float a = std::fabs(value);
  std::string s;
  auto fixed = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  const int digits = SignificantDigits(buf, fixed.ptr);
  // Beyond 7 integer digits a fixed text would show digits the value does not hold.
  if (a >= 1e-7f && (a < 1e7f || (a < 1e15f && digits <= 7))) {
    auto r = fixed;
    if (digits > 7) {
      // Too long to be shortest within 7 digits: round to 7 significant digits.
      const int int_digits = a >= 1.0f ? static_cast<int>(std::floor(std::log10(a))) + 1 : 0;
      int decimals = 7 - int_digits;
      if (a < 1.0f) decimals = 7 - static_cast<int>(std::floor(std::log10(a))) - 1;
      if (decimals < 0) decimals = 0;
      r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                        std::chars_format::fixed, decimals);
      s.assign(buf, r.ptr);
      TrimFraction(s);
    } else {
      s.assign(buf, r.ptr);
    }
  } else {
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    if (SignificantDigits(buf, r.ptr) > 7) {
      r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 6);
    }
    s.assign(buf, r.ptr);
    // 1.5e+20 -> 1.5E+20, mantissa without trailing zeros.
    const size_t e = s.find('e');
    std::string mant = s.substr(0, e), exp = s.substr(e + 1);
    TrimFraction(mant);
    const char sign = exp[0];
    exp = exp.substr(1);
    while (exp.size() > 2 && exp[0] == '0') exp.erase(0, 1);
    s = mant + "E" + sign + exp;
  }
  if (!with_leading_zero) {
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  }
  return s;
}

std::string NumberText(long long value) {
  std::string s = std::to_string(value);
  return value >= 0 ? " " + s : s;
}

std::string NumberText(float value) {
  std::string s = FloatText(value, false);
  return (value >= 0 || std::isnan(value)) ? " " + s : s;
}

}  // namespace accelog
