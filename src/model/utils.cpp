#include "model/utils.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/program_folder.h"
#include "model/file_util.h"
#include "model/dataset.h"
#include "model/text_util.h"

namespace accelog {

int16_t HexTextToInteger(std::string_view text) {
  if (text.size() != 4) return 0;
  unsigned v = 0;
  for (char c : text) {
    unsigned d;
    if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
    else return 0;
    v = v * 16 + d;
  }
  return static_cast<int16_t>(static_cast<uint16_t>(v));
}

uint8_t HighByte(int16_t v) { return static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8); }
uint8_t LowByte(int16_t v) { return static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xFF); }

int16_t ShiftLeftBits(int16_t v, int n) {
  if (n < 1) return v;
  if (n >= 16) return 0;
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint16_t>(v) << n));
}

int32_t ShiftLeftBits(int32_t v, int n) {
  if (n < 1) return v;
  if (n >= 32) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(v) << n);
}

int32_t ShiftRightBits(int32_t v, int n) {
  if (n < 1) return v;
  if (n >= 32) return v < 0 ? -1 : 0;
  return v >> n;  // arithmetic for negative values: floor(v / 2^n)
}

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int LastDayOfMonth(int month, int year) {
  switch (month) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return year % 4 == 0 ? 29 : 28;
    default: return 31;  // also a month out of 1..12 from a damaged file head
  }
}

}  // namespace

ClockFields ClockAfter(ClockFields c, int64_t d) {
  const int64_t t = c.Millisecond + d;
  c.Millisecond = static_cast<int16_t>(t - FloorDiv(t, 1000) * 1000);
  const int64_t s = c.Second + FloorDiv(t, 1000);
  c.Second = static_cast<int16_t>(s - 60 * FloorDiv(s, 60));
  const int64_t m = c.Minute + FloorDiv(s, 60);
  c.Minute = static_cast<int16_t>(m - 60 * FloorDiv(m, 60));
  const int64_t h = c.Hour + FloorDiv(m, 60);
  c.Hour = static_cast<int16_t>(h - 24 * FloorDiv(h, 24));

  // Move the date by as many days as were crossed, a month at a time.
  int64_t days = FloorDiv(h, 24);
  int day = c.Day, month = c.Month, year = c.Year;
  while (days > 0) {
    const int last = LastDayOfMonth(month, year);
    if (day + days <= last) {
      day += static_cast<int>(days);
      break;
    }
    days -= (day >= last) ? 1 : last - day + 1;
    day = 1;
    if (++month > 12) {
      month = 1;
      year = static_cast<int16_t>(year + 1);
    }
  }
  c.Day = static_cast<int16_t>(day);
  c.Month = static_cast<int16_t>(month);
  c.Year = static_cast<int16_t>(year);
  return c;
}

void Dataset::AdvanceClock(int64_t d) {
  auto& c = *this;
  const ClockFields n = ClockAfter({c.ClockYear, c.ClockMonth, c.ClockDay, c.ClockHour, c.ClockMinute, c.ClockSecond,
                                    c.ClockMillisecond},
                                   d);
  c.ClockYear = n.Year, c.ClockMonth = n.Month, c.ClockDay = n.Day;
  c.ClockHour = n.Hour, c.ClockMinute = n.Minute, c.ClockSecond = n.Second, c.ClockMillisecond = n.Millisecond;
}

int64_t IntervalMilliseconds(int interval, int unit) {
  switch (unit) {
    case 1: return interval * int64_t{1000};
    case 2: return interval * int64_t{60000};
    case 3: return interval * int64_t{3600000};
    default: return interval;
  }
}

std::string FormatDecimals(float value, int decimals) {
  const float a = std::fabs(value);
  std::string s = TrimBlanks(FloatText(a, false));
  const size_t dot = s.rfind('.');
  const int d = dot == std::string::npos ? 0 : static_cast<int>(s.size() - dot - 1);
  const bool fraction_only = a > 0.0f && a < 1.0f;
  std::string r;
  if (decimals <= 0) {
    if (value == 0.0f || fraction_only) r = "0";
    else r = dot == std::string::npos ? s : s.substr(0, dot);
  } else if (d > decimals) {
    r = s.substr(0, s.size() - static_cast<size_t>(d - decimals));
    if (fraction_only) r = "0" + r;
  } else if (d == decimals) {
    r = fraction_only ? "0" + s : s;
  } else if (value == 0.0f) {
    r = "0." + std::string(static_cast<size_t>(decimals), '0');
  } else {
    r = fraction_only ? "0" + s : s;
    if (dot == std::string::npos) r += '.';
    r += std::string(static_cast<size_t>(decimals - d), '0');
  }
  return value < 0.0f ? "-" + r : r;
}

std::string CleanFileName(std::string_view name) {
  // A native dialog's buffer ends in a terminator and blank filler; Qt's
  // result has neither, so only a NUL marks where the name ends.
  const size_t nul = name.find('\0');
  if (nul != std::string_view::npos) name = name.substr(0, nul);
  std::string s = TrimBlanks(name);
  if (s.size() >= 4 && s[s.size() - 4] == '.') s.resize(s.size() - 4);
  return s;
}

std::string CutAtFirstDot(std::string_view name) {
  const size_t nul = name.find('\0');
  if (nul != std::string_view::npos) name = name.substr(0, nul);
  std::string s(name);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  const size_t slash = s.rfind('/');
  const size_t dot = s.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot != std::string::npos) s.resize(dot);
  return s;
}

void Dataset::ClearLiveSlots() {
  for (int k = 1; k <= kSlots; ++k) {
    SlotUsed[k] = 0;
    SlotPoint[k] = 0;
  }
  DispStartPoint = 1;
  DispEndPoint = 1;
  CountPoint = 0;
}

namespace {
std::string Field(int value, size_t width) {
  std::string s = NumberText(static_cast<long long>(value));
  s.resize(width, ' ');
  return s;
}
}  // namespace

std::string ErrorLogRecord(std::string_view message, int year, int month, int day, int hour,
                           int minute, int second) {
  std::string r;
  r.reserve(100);
  r += Field(year, 5) + "|" + Field(month, 3) + "|" + Field(day, 3) + "|" + Field(hour, 3) +
       "|" + Field(minute, 3) + "|" + Field(second, 3) + "|";
  std::string text = CutUtf8(message, 72);
  text.resize(72, ' ');
  r += text;
  r += "\r\n";
  return r;
}

void WriteErrorLog(std::string_view message) {
  const std::string path = ProgramFile("MessageTam.txt");
  std::FILE* f = OpenForUpdate(path);
  if (!f) return;
  const long length = FileLength(f);
  const long record = std::lrint(static_cast<double>(length) / 100.0) + 1;
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  const std::string r = ErrorLogRecord(message, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                                       tm.tm_hour, tm.tm_min, tm.tm_sec);
  if (std::fseek(f, 100L * (record - 1), SEEK_SET) == 0) std::fwrite(r.data(), 1, r.size(), f);
  std::fclose(f);
}

}  // namespace accelog
