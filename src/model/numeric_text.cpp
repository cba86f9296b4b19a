#include "model/numeric_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace accelog {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::optional<double> NumericValue(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t mantissa = i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  // from_chars takes neither a leading '+' nor a bare trailing '.' in every
  // form, so hand it a cleaned copy.
  std::string body(text.substr(mantissa));
  if (const auto dot = body.find('.'); dot != std::string::npos &&
                                       (dot + 1 == body.size() || !IsDigit(body[dot + 1]))) {
    body.insert(dot + 1, "0");
  }
  if (body.front() == '.') body.insert(0, "0");
  double v = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
  if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

}  // namespace accelog
