#pragma once
// Reading the number a text box holds, the way the dialogs judge their
// entries: blanks around it are allowed, so are a sign, one decimal point
// and an exponent; anything else is not a number.
#include <optional>
#include <string_view>

namespace accelog {

std::optional<double> NumericValue(std::string_view text);
inline bool IsNumeric(std::string_view text) { return NumericValue(text).has_value(); }

}  // namespace accelog
