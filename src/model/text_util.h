#pragma once
// Text helpers shared by the file, log and display code.
#include <cstddef>
#include <string>
#include <string_view>

namespace accelog {

// At most max_bytes bytes of text, never ending inside a UTF-8 sequence.
std::string CutUtf8(std::string_view text, size_t max_bytes);
// Without leading and trailing blanks (and NULs, which stand for missing bytes).
std::string TrimBlanks(std::string_view text);
// Without any blank at all.
std::string RemoveBlanks(std::string_view text);

// The shortest decimal text that reads back to the same 32-bit value, at most
// 7 significant digits, never in exponent form for ordinary magnitudes.
// with_leading_zero=false gives ".5" for 0.5, as the number-to-text step of
// the runtime does.
std::string FloatText(float value, bool with_leading_zero = true);
// The shortest text that reads back to exactly the same 32-bit value (up to 9
// significant digits, "C" locale): for output that scripts read back.
std::string ExactFloatText(float value);
// A number as the runtime's number text: a leading blank for values >= 0.
std::string NumberText(long long value);
std::string NumberText(float value);

}  // namespace accelog
