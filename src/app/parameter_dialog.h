#pragma once
// The recording-parameter dialog without widgets: the state of its controls,
// what opening, the clock, the option buttons, the value boxes, OK and Cancel
// do to it and to the recording parameters they are given. The Qt window
// mirrors this state and forwards every user action here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/keypad.h"
#include "model/machine_parameter.h"

namespace accelog {

class UiPort;

// A reading of the computer's local clock, full year.
struct ClockReading {
  int Year, Month, Day, Hour, Minute, Second;
};
ClockReading ReadClock();

// The two captions of the limit box, what the limit counts.
inline constexpr const char* kLimitMinutes = "Limit Time(Unite:Minute)";
inline constexpr const char* kLimitTimes = "number of times";

// The boxed groups of the form, in the layout's order.
enum FormGroup : size_t {
  PortGroup, IntervalGroup, LedGroup, CriticalGroup, RecordModeGroup, WorkModeGroup,
  CurrentTimeGroup, StartTimeGroup, LimitGroup, kFormGroups
};

struct ParameterForm {
  int16_t Mode = 0;                     // ParameterDialogMode when opened
  std::array<std::string, 20> Text;     // Text1..Text19 (index 0 unused)
  std::array<bool, 12> Option{};        // Option1..Option11 selected
  std::array<bool, 12> OptionVisible{};
  std::array<bool, kFormGroups> GroupVisible{};
  std::array<bool, kFormGroups> GroupEnabled{};
  bool CriticalEnabled = false;         // Text4..Text6
  std::string LimitCaption;  // what the limit counts
  bool ClockRunning = false;           // the live clock
  int StartDateAhead = 0;               // yyyymmdd the start date stays on until today reaches it
  bool Closed = false;
};

// Opening: the layout of values.ParameterDialogMode, the fields from the
// values and the clock.
void OpenParameterForm(ParameterForm& form, const RecordingParameters& values, const ClockReading& now);
// Every 1000 ms while open: current time and the start date follow the clock.
void TickParameterClock(ParameterForm& form, const ClockReading& now);
// A click on Option1..Option11: selects it in its group and applies its rule
// (the record mode options set values.RecordMode at once).
void ClickOption(ParameterForm& form, RecordingParameters& values, int option);

// Whether a box takes a click (visible, enabled, and a keypad box).
bool ValueBoxClickable(const ParameterForm& form, int box);

struct KeypadRange {
  int Minimum;
  int Maximum;
  const char* Caption;  // nullptr: the keypad keeps its own caption
};
// The keypad limits of Text2..Text6 and Text13..Text19 as the form stands;
// nothing for any other box.
std::optional<KeypadRange> KeypadRangeFor(const ParameterForm& form, const RecordingParameters& values,
                                         int box);
// A click on a value box: opens the keypad with the box's text and limits and
// writes an accepted value back into the box.
void ClickValueBox(ParameterForm& form, RecordingParameters& values, KeypadPort& keypad, int box);
// The box's own text typed into its keypad and OK pressed: the value the
// keypad hands back is written into the box, or the keypad's message is
// shown and its range returned. Nothing for a box without a keypad.
std::optional<KeypadRange> EnterBoxTextOnKeypad(UiPort& ui, ParameterForm& form, RecordingParameters& values, int box);

// The OK rows in order on `record`: fields that pass are stored, the port
// box shows its own messages at once. Returns the code of the last failing
// row, 0 when none failed. Shows no summary and writes no file.
int CheckParameterForm(UiPort& ui, const ParameterForm& form, RecordingParameters& record);
// The summary message of a failed OK: "Data is erro!!=" and the code.
std::string ParameterErrorText(int code, int16_t language_flag);
// What a refusal code means and which box to change, in the active language.
std::string ParameterErrorExplanation(int code, int16_t language_flag);
// The message when MPInteger.kvx could not be written: file and reason.
std::string ParameterSaveErrorText(const std::string& reason, int16_t language_flag);
// OK: checks into the store's values; with no failure writes MPInteger.kvx,
// sets ParameterAccepted and closes (true); otherwise shows the summary, or
// names the file and the reason when it could not be written.
bool OkParameterForm(UiPort& ui, ParameterForm& form, ParameterStore& store);
void CancelParameterForm(ParameterForm& form, RecordingParameters& values);

struct ParameterCaptions {
  const char* Window;
  const char* PortFrame;
  const char* PortLabel;
  const char* IntervalFrame;
  const char* Millisecond;
  const char* Second;
  const char* Minute;
  const char* Hour;
  const char* LedFrame;
  const char* LedUnit;
  const char* CriticalFrame;
  const char* XAxis;
  const char* YAxis;
  const char* ZAxis;
  const char* RecordModeFrame;
  const char* Normal;
  const char* Critical;
  const char* WorkModeFrame;
  const char* Manual;
  const char* Auto;
  const char* Timing;
  const char* CurrentTimeFrame;
  const char* StartTimeFrame;
  std::array<const char*, 6> TimeLabels;  // year .. second
  const char* LimitByTime;
  const char* LimitByCount;
  const char* OKButton;
  const char* CancelButton;
};
const ParameterCaptions& ParameterCaptionsFor(int16_t language_flag);

}  // namespace accelog
