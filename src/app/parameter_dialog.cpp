#include "app/parameter_dialog.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "core/ui_port.h"
#include "app/keypad.h"
#include "model/numeric_text.h"

namespace accelog {

namespace {

const ParameterCaptions kEnglish = {
    "Setup",
    "Communication Port", "Port",
    "Interval Time", "Millisecond", "Second", "Minute", "Hour",
    "Led Twinkle Cycle", "Unite:Second",
    "Critical Value", "X Axial", "Y Axial", "Z Axial",
    "Record Mode", "Normal", "Critical",
    "Work Mode", "Manual Operation", "Auto", "Time",
    "Current Time", "Start Record Time",
    {"Year", "Month", "Day", "Hour", "Minute", "Second"},
    "Timer", "number of times",
    "OK", "Cancel",
};

const ParameterCaptions kChinese = {
    "Setup",
    "通讯端口", "串口号",
    "间隔时间", "毫秒", "秒", "分", "时",
    "Led闪烁时间", "单位:秒",
    "临界值", "X轴", "Y轴", "Z轴",
    "记录模式", "正常模式", "临界模式",
    "工作模式", "手动", "自动", "定时",
    "当前时间", "开始记录时间",
    {"年", "月", "日", "时", "分", "秒"},
    "Timer", "number of times",
    "确认", "取消",
};

// The group each option button and each box sits in.
FormGroup GroupOfOption(int option) {
  if (option <= 4) return IntervalGroup;
  if (option <= 6) return RecordModeGroup;
  if (option <= 9) return WorkModeGroup;
  return LimitGroup;
}

FormGroup GroupOfBox(int box) {
  if (box == 1) return PortGroup;
  if (box == 2) return IntervalGroup;
  if (box == 3) return LedGroup;
  if (box <= 6) return CriticalGroup;
  if (box <= 12) return CurrentTimeGroup;
  if (box <= 18) return StartTimeGroup;
  return LimitGroup;
}

// First and last option of the group an option belongs to.
std::pair<int, int> GroupOf(int option) {
  if (option <= 4) return {1, 4};
  if (option <= 6) return {5, 6};
  if (option <= 9) return {7, 9};
  return {10, 11};
}

void Select(ParameterForm& form, int option) {
  const auto [first, last] = GroupOf(option);
  for (int i = first; i <= last; ++i) form.Option[static_cast<size_t>(i)] = i == option;
}

// Index of the selected option of a group counted from 0, or -1.
int SelectedIn(const ParameterForm& form, int first, int last) {
  for (int i = first; i <= last; ++i) {
    if (form.Option[static_cast<size_t>(i)]) return i - first;
  }
  return -1;
}

std::string Decimal(long v) { return std::to_string(v); }

// The integer part of the number a text holds.
std::optional<double> IntegerPart(const std::string& text) {
  const auto v = NumericValue(text);
  if (!v) return std::nullopt;
  return std::floor(*v);
}

void FillClock(ParameterForm& form, const ClockReading& now) {
  form.Text[7] = Decimal(now.Year - 2000);
  form.Text[8] = Decimal(now.Month);
  form.Text[9] = Decimal(now.Day);
  form.Text[10] = Decimal(now.Hour);
  form.Text[11] = Decimal(now.Minute);
  form.Text[12] = Decimal(now.Second);
  ClockReading start = now;
  if (form.StartDateAhead > now.Year * 10000 + now.Month * 100 + now.Day) {
    start.Year = form.StartDateAhead / 10000;
    start.Month = form.StartDateAhead / 100 % 100;
    start.Day = form.StartDateAhead % 100;
  }
  form.Text[13] = Decimal(start.Year - 2000);
  form.Text[14] = Decimal(start.Month);
  form.Text[15] = Decimal(start.Day);
}

// The day after `now`, with month and year ends.
ClockReading NextDay(ClockReading now) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (now.Year % 4 == 0 && now.Year % 100 != 0) || now.Year % 400 == 0;
  const int last = now.Month == 2 && leap ? 29 : kDays[(now.Month - 1) % 12];
  if (++now.Day > last) {
    now.Day = 1;
    if (++now.Month > 12) {
      now.Month = 1;
      ++now.Year;
    }
  }
  return now;
}

void FollowWorkMode(ParameterForm& form) {
  const bool timing = form.Option[9];
  form.GroupEnabled[StartTimeGroup] = timing;
  form.GroupEnabled[LimitGroup] = timing;
}

void OpenFull(ParameterForm& form, const RecordingParameters& p, const ClockReading& now) {
  form.Text[2] = Decimal(p.RecordInterval);
  if (p.IntervalUnit >= 0 && p.IntervalUnit <= 3) Select(form, 1 + p.IntervalUnit);
  form.Text[3] = Decimal(p.LedCycle);
  form.Text[4] = Decimal(p.CriticalX);
  form.Text[5] = Decimal(p.CriticalY);
  form.Text[6] = Decimal(p.CriticalZ);
  if (p.RecordMode == 0) {
    Select(form, 5);
    form.CriticalEnabled = false;
  } else if (p.RecordMode == 1) {
    Select(form, 6);
    form.CriticalEnabled = true;
  }
  if (p.WorkMode >= 0 && p.WorkMode <= 2) Select(form, 7 + p.WorkMode);
  FollowWorkMode(form);
  // The start offered is the next full hour at least 10 seconds ahead: a
  // nearer one would be refused as too close (code 24), and in the day's
  // last hour it is tomorrow's.
  ClockReading ahead = now;
  if ((ahead.Second += 10) >= 60) {
    ahead.Second -= 60;
    if (++ahead.Minute == 60) {
      ahead.Minute = 0;
      if (++ahead.Hour == 24) ahead = NextDay(ahead), ahead.Hour = 0;
    }
  }
  const ClockReading start_day = ahead.Hour == 23 ? NextDay(ahead) : ahead;
  if (start_day.Day != now.Day || start_day.Month != now.Month || start_day.Year != now.Year) {
    form.StartDateAhead = start_day.Year * 10000 + start_day.Month * 100 + start_day.Day;
  }
  FillClock(form, now);
  form.Text[16] = Decimal((ahead.Hour + 1) % 24);
  form.Text[17] = "0";
  form.Text[18] = "0";
  form.Text[19] = Decimal(p.LimitTime);
  form.LimitCaption = kLimitMinutes;
  form.OptionVisible[10] = form.OptionVisible[11] = false;
}

void OpenRealTime(ParameterForm& form, const RecordingParameters& p) {
  for (FormGroup g : {PortGroup, LedGroup, CriticalGroup, RecordModeGroup, WorkModeGroup, CurrentTimeGroup,
                      StartTimeGroup}) {
    form.GroupVisible[g] = false;
  }
  form.GroupEnabled[LimitGroup] = true;
  form.OptionVisible[3] = form.OptionVisible[4] = false;
  if (p.IntervalUnit == 0 || p.IntervalUnit == 2 || p.IntervalUnit == 3) Select(form, 1);
  else if (p.IntervalUnit == 1) Select(form, 2);
  form.Text[19] = Decimal(p.LimitTime);
  form.OptionVisible[10] = form.OptionVisible[11] = true;
  if (p.LimitKind == 0) {
    Select(form, 10);
    form.LimitCaption = kLimitMinutes;
  } else if (p.LimitKind == 1) {
    Select(form, 11);
    form.LimitCaption = kLimitTimes;
  }
  form.Text[2] = p.RecordInterval >= 500 ? Decimal(p.RecordInterval) : "500";
}

// One row of the OK table: a box whose integer part must lie in lo..hi.
void StoreRow(const std::string& text, int16_t& field, int lo, int hi, int code, int& failed) {
  const auto n = IntegerPart(text);
  if (n && *n >= lo && *n <= hi) {
    field = static_cast<int16_t>(*n);
  } else {
    failed = code;
  }
}

// Row u: a number outside the range leaves LimitTime as it was.
void StoreLimitRow(const std::string& text, int16_t& field, int& failed) {
  const auto n = IntegerPart(text);
  if (!n) {
    failed = 20;
  } else if (*n > 0 && *n <= 32767) {
    field = static_cast<int16_t>(*n);
  }
}

// Seconds since the start of a year in which every month has 31 days.
long YearSeconds(long month, long day, long hour, long minute, long second) {
  return month * 744 * 3600 + day * 24 * 3600 + hour * 3600 + minute * 60 + second;
}

}  // namespace

ClockReading ReadClock() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
          std::min(tm.tm_sec, 59)};
}

const ParameterCaptions& ParameterCaptionsFor(int16_t language_flag) {
  return language_flag == 1 ? kEnglish : kChinese;
}

void OpenParameterForm(ParameterForm& form, const RecordingParameters& values, const ClockReading& now) {
  const int16_t mode = values.ParameterDialogMode;
  form = {};
  form.Mode = mode;
  form.GroupVisible.fill(true);
  form.GroupEnabled.fill(true);
  form.OptionVisible.fill(true);
  form.Text[1] = "4";
  form.ClockRunning = true;
  if (mode == 0) OpenFull(form, values, now);
  if (mode == 1) OpenRealTime(form, values);
}

void TickParameterClock(ParameterForm& form, const ClockReading& now) {
  if (!form.ClockRunning || form.Closed) return;
  FillClock(form, now);
}

void ClickOption(ParameterForm& form, RecordingParameters& values, int option) {
  if (option < 1 || option > 11) return;
  const FormGroup group = GroupOfOption(option);
  if (!form.OptionVisible[static_cast<size_t>(option)] || !form.GroupVisible[group] ||
      !form.GroupEnabled[group]) {
    return;
  }
  Select(form, option);
  switch (option) {
    case 1: {
      const auto n = IntegerPart(form.Text[2]);
      if (!(n && *n > 0 && *n < 32767 && *n >= 50)) form.Text[2] = "50";
      break;
    }
    case 2:
    case 3:
    case 4:
      form.Text[2] = "1";
      break;
    case 5:
      values.RecordMode = form.Option[5] ? 0 : 1;
      form.CriticalEnabled = false;
      break;
    case 6:
      values.RecordMode = 1;
      form.CriticalEnabled = true;
      break;
    case 7:
    case 8:
    case 9:
      FollowWorkMode(form);
      break;
    case 10:
      form.LimitCaption = kLimitMinutes;
      break;
    case 11:
      form.LimitCaption = kLimitTimes;
      break;
  }
}

bool ValueBoxClickable(const ParameterForm& form, int box) {
  if (box < 2 || box > 19 || (box >= 7 && box <= 12)) return false;
  const FormGroup group = GroupOfBox(box);
  if (!form.GroupVisible[group] || !form.GroupEnabled[group]) return false;
  if (box >= 4 && box <= 6 && !form.CriticalEnabled) return false;
  return true;
}

std::optional<KeypadRange> KeypadRangeFor(const ParameterForm& form, const RecordingParameters& values, int box) {
  const bool full = form.Mode == 0;
  const bool millisecond = form.Option[1];
  const bool second = form.Option[2];
  switch (box) {
    case 2:
      if (millisecond) return KeypadRange{full ? 50 : 500, 32767, nullptr};
      return KeypadRange{1, 32767, nullptr};
    case 3: return KeypadRange{1, 30, nullptr};
    case 4:
    case 5:
    case 6: return KeypadRange{1, 16, nullptr};
    case 13: return KeypadRange{13, 30, "Year"};
    case 14: return KeypadRange{1, 12, "Month"};
    case 15: return KeypadRange{1, 31, "Day"};
    case 16: return KeypadRange{0, 23, "Hour"};
    case 17: return KeypadRange{0, 59, "Minute"};
    case 18: return KeypadRange{0, 59, "Second"};
    case 19: {
      if (!full) return KeypadRange{1, 30000, nullptr};
      const double interval = values.RecordInterval;
      // The millisecond limit can pass 32767 for long intervals; the keypad
      // hands back a 16-bit value, so it stops there like the others.
      if (millisecond) {
        return KeypadRange{1, static_cast<int>(std::min(std::floor(interval * 5.46), 32767.0)),
                           nullptr};
      }
      if (second) {
        return KeypadRange{1, static_cast<int>(std::min(interval * 5460, 32767.0)), nullptr};
      }
      return KeypadRange{1, 32767, nullptr};
    }
    default: return std::nullopt;
  }
}

namespace {
// The keypad as a click on `box` loads it; nothing for a box without one.
std::optional<KeypadRange> LoadBoxKeypad(const ParameterForm& form, RecordingParameters& values, int box,
                                         KeypadForm& keypad) {
  if (box == 19 && form.Mode == 0 && (form.Option[1] || form.Option[2])) {
    const auto n = IntegerPart(form.Text[2]);
    if (n && *n >= 1 && *n <= 32767) values.RecordInterval = static_cast<int16_t>(*n);
  }
  const auto range = KeypadRangeFor(form, values, box);
  if (!range) return std::nullopt;
  keypad = NewKeypadForm();
  keypad.Entry = form.Text[static_cast<size_t>(box)];
  keypad.Maximum = Decimal(range->Maximum);
  keypad.Minimum = Decimal(range->Minimum);
  keypad.Decimals = "0";
  if (range->Caption) keypad.Caption = range->Caption;
  return range;
}
}  // namespace

void ClickValueBox(ParameterForm& form, RecordingParameters& values, KeypadPort& keypad_port, int box) {
  if (!ValueBoxClickable(form, box)) return;
  KeypadForm keypad;
  if (!LoadBoxKeypad(form, values, box, keypad)) return;
  if (const auto value = keypad_port.Show(keypad)) form.Text[static_cast<size_t>(box)] = Decimal(*value);
}

std::optional<KeypadRange> EnterBoxTextOnKeypad(UiPort& ui, ParameterForm& form, RecordingParameters& values, int box) {
  KeypadForm keypad;
  const auto range = LoadBoxKeypad(form, values, box, keypad);
  if (!range) return std::nullopt;
  const auto value = ConfirmKeypadEntry(ui, keypad);
  if (!value) return range;
  form.Text[static_cast<size_t>(box)] = Decimal(*value);
  return std::nullopt;
}

int CheckParameterForm(UiPort& ui, const ParameterForm& form, RecordingParameters& r) {
  const bool english = r.LanguageFlag == 1;
  const auto& t = form.Text;
  int failed = 0;

  // The port is judged on its integer part, so "0.5" cannot store port 0.
  if (const auto port = IntegerPart(t[1]); !port) {
    ui.Message(english ? "Port is erro!!" : "端口错误!", MessageIcon::Exclamation);
    failed = 2;
  } else if (*port > 0 && *port < 50) {
    r.ComPort = static_cast<int16_t>(*port);
  } else {
    ui.Message(english ? "Port is erro!" : "端口错误", MessageIcon::Exclamation);
    failed = 1;
  }

  if (form.Mode == 0) {
    StoreRow(t[2], r.RecordInterval, 1, 32766, 3, failed);
    if (const int unit = SelectedIn(form, 1, 4); unit >= 0) r.IntervalUnit = static_cast<int16_t>(unit);
    StoreRow(t[3], r.LedCycle, 0, 16, 5, failed);
    StoreRow(t[4], r.CriticalX, 1, 16, 6, failed);
    StoreRow(t[5], r.CriticalY, 1, 16, 7, failed);
    StoreRow(t[6], r.CriticalZ, 1, 16, 8, failed);
    if (const int mode = SelectedIn(form, 5, 6); mode >= 0) r.RecordMode = static_cast<int16_t>(mode);
    if (const int mode = SelectedIn(form, 7, 9); mode >= 0) r.WorkMode = static_cast<int16_t>(mode);
    StoreRow(t[7], r.CurYear, 13, 50, 9, failed);
    StoreRow(t[8], r.CurMonth, 1, 12, 10, failed);
    StoreRow(t[9], r.CurDay, 1, 31, 11, failed);
    StoreRow(t[10], r.CurHour, 0, 23, 12, failed);
    StoreRow(t[11], r.CurMinute, 0, 59, 13, failed);
    StoreRow(t[12], r.CurSecond, 0, 59, 14, failed);
    StoreRow(t[13], r.StartYear, 13, 50, 15, failed);
    StoreRow(t[14], r.StartMonth, 1, 12, 16, failed);
    StoreRow(t[15], r.StartDay, 1, 31, 17, failed);
    StoreRow(t[16], r.StartHour, 0, 23, 18, failed);
    StoreRow(t[17], r.StartMinute, 0, 59, 19, failed);
    StoreRow(t[18], r.StartSecond, 0, 59, 19, failed);
    StoreLimitRow(t[19], r.LimitTime, failed);

    if (r.IntervalUnit == 0) {
      // An interval of 0 can only come from a data file's head; it fails
      // here instead of dividing by zero.
      if (r.RecordInterval <= 0) {
        failed = 21;
      } else {
        const double points = std::nearbyint(r.LimitTime * 60000.0 / r.RecordInterval);
        if (points > 300000) failed = 21;
      }
    }
    if (r.StartYear - r.CurYear > 1 || r.StartYear < r.CurYear) failed = 22;
    if (r.StartYear == r.CurYear) {
      const long start = YearSeconds(r.StartMonth, r.StartDay, r.StartHour, r.StartMinute, r.StartSecond);
      const long current = YearSeconds(r.CurMonth, r.CurDay, r.CurHour, r.CurMinute, r.CurSecond);
      if (start - current < 10) failed = 24;
    }
  } else if (form.Mode == 1) {
    StoreRow(t[2], r.RecordInterval, 1, 32767, 3, failed);
    if (const int unit = SelectedIn(form, 1, 4); unit >= 0) r.IntervalUnit = static_cast<int16_t>(unit);
    StoreLimitRow(t[19], r.LimitTime, failed);
    if (const int kind = SelectedIn(form, 10, 11); kind >= 0) r.LimitKind = static_cast<int16_t>(kind);
    r.WorkMode = 1;
  }
  return failed;
}

std::string ParameterErrorText(int code, int16_t language_flag) {
  return (language_flag == 1 ? "Data is erro!!=" : "数据有错误!=") + std::to_string(code);
}

std::string ParameterErrorExplanation(int code, int16_t language_flag) {
  struct Row {
    int code;
    const char* english;
    const char* chinese;
  };
  static const Row kRows[] = {
      {1, "The port must be a number from 1 to 49: change Port.", "端口必须是 1 到 49 的数字: 请修改串口号。"},
      {2, "The port is not a number: change Port.", "端口不是数字: 请修改串口号。"},
      {3, "The interval must be from 1 to 32766: change Interval Time.", "间隔时间必须在 1 到 32766 之间: 请修改间隔时间。"},
      {5, "The LED cycle must be from 0 to 16: change Led Twinkle Cycle.", "Led闪烁时间必须在 0 到 16 之间: 请修改Led闪烁时间。"},
      {6, "The X critical value must be from 1 to 16: change X Axial.", "X轴临界值必须在 1 到 16 之间: 请修改X轴。"},
      {7, "The Y critical value must be from 1 to 16: change Y Axial.", "Y轴临界值必须在 1 到 16 之间: 请修改Y轴。"},
      {8, "The Z critical value must be from 1 to 16: change Z Axial.", "Z轴临界值必须在 1 到 16 之间: 请修改Z轴。"},
      {9, "The current year must be from 13 to 50: set the computer's clock.", "当前年份必须在 13 到 50 之间: 请设置电脑时钟。"},
      {10, "The current month is not valid: set the computer's clock.", "当前月份无效: 请设置电脑时钟。"},
      {11, "The current day is not valid: set the computer's clock.", "当前日期无效: 请设置电脑时钟。"},
      {12, "The current hour is not valid: set the computer's clock.", "当前小时无效: 请设置电脑时钟。"},
      {13, "The current minute is not valid: set the computer's clock.", "当前分钟无效: 请设置电脑时钟。"},
      {14, "The current second is not valid: set the computer's clock.", "当前秒无效: 请设置电脑时钟。"},
      {15, "The start year must be from 13 to 50: change Start Record Time, Year.", "开始年份必须在 13 到 50 之间: 请修改开始记录时间的年。"},
      {16, "The start month must be from 1 to 12: change Start Record Time, Month.", "开始月份必须在 1 到 12 之间: 请修改开始记录时间的月。"},
      {17, "The start day must be from 1 to 31: change Start Record Time, Day.", "开始日期必须在 1 到 31 之间: 请修改开始记录时间的日。"},
      {18, "The start hour must be from 0 to 23: change Start Record Time, Hour.", "开始小时必须在 0 到 23 之间: 请修改开始记录时间的时。"},
      {19, "The start minute and second must be from 0 to 59: change Start Record Time, Minute or Second.", "开始分钟和秒必须在 0 到 59 之间: 请修改开始记录时间的分或秒。"},
      {20, "The limit time is not a number: change Limit Time.", "记录最长时间不是数字: 请修改记录最长时间。"},
      {21, "With millisecond intervals the limit time gives more than 300000 points (limit x 60000 / interval): shorten Limit Time or lengthen Interval Time. The limit counts even where its box is disabled.", "毫秒间隔时记录点数超过 300000 (最长时间 x 60000 / 间隔): 请缩短记录最长时间或加长间隔时间。该框禁用时也参与检查。"},
      {22, "The start year must be this year or next year: change Start Record Time, Year.", "开始年份必须是今年或明年: 请修改开始记录时间的年。"},
      {24, "The start must be at least 10 seconds after the current time: change Start Record Time.", "开始时间必须比当前时间晚至少 10 秒: 请修改开始记录时间。"},
  };
  for (const Row& r : kRows) {
    if (r.code == code) return language_flag == 1 ? r.english : r.chinese;
  }
  return {};
}

std::string ParameterSaveErrorText(const std::string& reason, int16_t language_flag) {
  return (language_flag == 1 ? "The parameters were not saved: " : "参数未能保存: ") + reason;
}

bool OkParameterForm(UiPort& ui, ParameterForm& form, ParameterStore& store) {
  RecordingParameters& values = store.Values();
  const int code = CheckParameterForm(ui, form, values);
  const int16_t language = values.LanguageFlag;
  if (code != 0) {
    ui.MessageWith(ParameterErrorText(code, language), MessageIcon::Exclamation, " ",
                     ParameterErrorExplanation(code, language));
    return false;
  }
  if (const SaveResult saved = store.SaveRecording(); !saved.Ok()) {
    ui.Message(ParameterSaveErrorText(saved.message, language), MessageIcon::Exclamation);
    return false;
  }
  values.ParameterAccepted = true;
  form.Closed = true;
  form.ClockRunning = false;
  return true;
}

void CancelParameterForm(ParameterForm& form, RecordingParameters& values) {
  values.ParameterAccepted = false;
  form.Closed = true;
  form.ClockRunning = false;
}

}  // namespace accelog
