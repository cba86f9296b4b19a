#pragma once
// Small routines every part uses: byte and bit arithmetic, clock steps,
// fixed-decimal text, file-name clean-up and the error log.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/dataset.h"

namespace accelog {

// Four hexadecimal digits as a two's-complement 16-bit number; 0 otherwise.
int16_t HexTextToInteger(std::string_view text);
uint8_t HighByte(int16_t v);
uint8_t LowByte(int16_t v);
int16_t ShiftLeftBits(int16_t v, int n);
int32_t ShiftLeftBits(int32_t v, int n);
int32_t ShiftRightBits(int32_t v, int n);

// Adds an interval to Data.ClockMillisecond .. Data.ClockYear. The interval is
// 64-bit because 32767 hours in milliseconds does not fit in 32 bits.
// The clock interval_ms later; the date moves a month at a time.
ClockFields ClockAfter(ClockFields clock, int64_t interval_ms);
// Milliseconds of one recording interval (unit 0 ms, 1 s, 2 min, 3 h).
int64_t IntervalMilliseconds(int interval, int unit);

// Fixed-decimal text of a 32-bit value, surplus digits truncated.
std::string FormatDecimals(float value, int decimals);

// A file dialog's result without its terminator, trailing blanks and a
// three-letter extension.
std::string CleanFileName(std::string_view name);
// The name cut before the first "." of its last path component.
std::string CutAtFirstDot(std::string_view name);


// Appends one 100-byte record to MessageTam.txt in the program's folder.
void WriteErrorLog(std::string_view message);
// The 100-byte record for a message at the given local time.
std::string ErrorLogRecord(std::string_view message, int year, int month, int day, int hour,
                           int minute, int second);

}  // namespace accelog
