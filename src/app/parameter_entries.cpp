#include "app/parameter_entries.h"

#include <array>

namespace accelog {

namespace {

bool ReadDigits(const std::string& text, size_t& at, size_t min_digits, size_t max_digits, int& value) {
  size_t n = 0;
  value = 0;
  while (at < text.size() && n < max_digits && text[at] >= '0' && text[at] <= '9') {
    value = value * 10 + (text[at] - '0');
    ++at;
    ++n;
  }
  return n >= min_digits;
}

bool ReadChar(const std::string& text, size_t& at, char c) {
  if (at < text.size() && text[at] == c) {
    ++at;
    return true;
  }
  return false;
}

void PutTime(ParameterForm& form, size_t first_box, const ClockReading& t) {
  const int parts[6] = {t.Year - 2000, t.Month, t.Day, t.Hour, t.Minute, t.Second};
  for (size_t i = 0; i < 6; ++i) form.Text[first_box + i] = std::to_string(parts[i]);
}

// Selects one button of a group by its word; false when no word matches.
template <size_t N>
bool SelectByWord(ParameterForm& form, const std::string& word,
                  const std::array<const char*, N>& words, int first_option) {
  for (size_t i = 0; i < N; ++i) {
    if (word == words[i]) {
      for (size_t j = 0; j < N; ++j) form.Option[static_cast<size_t>(first_option) + j] = j == i;
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<ClockReading> ParseClockText(const std::string& text) {
  ClockReading c{};
  size_t at = 0;
  if (ReadDigits(text, at, 4, 4, c.Year) && ReadChar(text, at, '-') &&
      ReadDigits(text, at, 1, 2, c.Month) && ReadChar(text, at, '-') &&
      ReadDigits(text, at, 1, 2, c.Day) && ReadChar(text, at, ' ') &&
      ReadDigits(text, at, 1, 2, c.Hour) && ReadChar(text, at, ':') &&
      ReadDigits(text, at, 1, 2, c.Minute) && ReadChar(text, at, ':') &&
      ReadDigits(text, at, 1, 2, c.Second) && at == text.size()) {
    return c;
  }
  return std::nullopt;
}

bool FillFormFromEntries(const ParameterEntries& e, RecordingParameters& values, const ClockReading& now,
                         ParameterForm& form, std::string& error) {
  ClockReading clock = now;
  if (e.Clock) {
    const auto c = ParseClockText(*e.Clock);
    if (!c) {
      error = "--clock wants \"YYYY-MM-DD hh:mm:ss\", not '" + *e.Clock + "'";
      return false;
    }
    clock = *c;
  }
  std::optional<ClockReading> start;
  if (e.Start) {
    start = ParseClockText(*e.Start);
    if (!start) {
      error = "--start wants \"YYYY-MM-DD hh:mm:ss\", not '" + *e.Start + "'";
      return false;
    }
  }

  values.ParameterDialogMode = 0;
  OpenParameterForm(form, values, clock);
  form.Text[1] = std::to_string(values.ComPort);
  if (start) PutTime(form, 13, *start);

  if (e.Port) form.Text[1] = *e.Port;
  if (e.Interval) form.Text[2] = *e.Interval;
  if (e.Unit && !SelectByWord(form, *e.Unit, std::array{"ms", "s", "min", "h"}, 1)) {
    error = "--unit is one of ms, s, min, h, not '" + *e.Unit + "'";
    return false;
  }
  if (e.Led) form.Text[3] = *e.Led;
  if (e.Critical) {
    const std::string& c = *e.Critical;
    const size_t a = c.find(',');
    const size_t b = a == std::string::npos ? a : c.find(',', a + 1);
    if (b == std::string::npos || c.find(',', b + 1) != std::string::npos) {
      error = "--critical wants three values X,Y,Z, not '" + c + "'";
      return false;
    }
    form.Text[4] = c.substr(0, a);
    form.Text[5] = c.substr(a + 1, b - a - 1);
    form.Text[6] = c.substr(b + 1);
  }
  if (e.RecordMode && !SelectByWord(form, *e.RecordMode, std::array{"normal", "critical"}, 5)) {
    error = "--record-mode is normal or critical, not '" + *e.RecordMode + "'";
    return false;
  }
  if (e.WorkMode && !SelectByWord(form, *e.WorkMode, std::array{"manual", "auto", "timing"}, 7)) {
    error = "--work-mode is manual, auto or timing, not '" + *e.WorkMode + "'";
    return false;
  }
  if (e.Limit) form.Text[19] = *e.Limit;
  return true;
}

}  // namespace accelog
