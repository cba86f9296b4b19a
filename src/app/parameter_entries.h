#pragma once
// The full parameter layout filled from words instead of clicks, for the
// command line: each entry goes into the box or option button the user
// would have set, and the dialog's own OK rows then judge them.
#include <optional>
#include <string>

#include "app/parameter_dialog.h"

namespace accelog {

struct ParameterEntries {
  std::optional<std::string> Port;        // Text1
  std::optional<std::string> Interval;    // Text2
  std::optional<std::string> Unit;        // ms | s | min | h
  std::optional<std::string> Led;         // Text3
  std::optional<std::string> Critical;    // "X,Y,Z" into Text4..Text6
  std::optional<std::string> RecordMode;  // normal | critical
  std::optional<std::string> WorkMode;    // manual | auto | timing
  std::optional<std::string> Clock;       // "YYYY-MM-DD hh:mm:ss"
  std::optional<std::string> Start;       // "YYYY-MM-DD hh:mm:ss"
  std::optional<std::string> Limit;       // Text19
};

// "YYYY-MM-DD hh:mm:ss" (one or two digits for all but the year).
std::optional<ClockReading> ParseClockText(const std::string& text);

// Opens the full layout as the dialog would at `now` (the --clock value when
// given, so the start defaults to the next full hour after it) and applies
// the entries. A word that names no option or date gives false and a reason;
// numbers are left for the OK rows to judge.
bool FillFormFromEntries(const ParameterEntries& entries, RecordingParameters& values, const ClockReading& now,
                         ParameterForm& form, std::string& error);

}  // namespace accelog
