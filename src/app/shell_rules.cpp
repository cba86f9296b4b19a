#include "app/shell_rules.h"

#include "model/dataset.h"

namespace accelog {

const char* ToolButtonHint(int button) {
  static const char* const kHints[kToolButtons] = {
      "System Parameter", "Real Time Data For Frequency", "Print", "Download Data",
      "Real Time Data",   "Data List",                    "Export Data", "Acceleration",
      "Frequency",        "Stop",                         "Help"};
  return button >= 0 && button < kToolButtons ? kHints[button] : "";
}

EnabledSet MenuCommandCodeEnabledButton(int code, bool enabled) {
  EnabledSet s;
  s.enabled = enabled;
  // Help is never touched.
  for (int b = 0; b < kToolButtons; ++b) s.button_touched[b] = b != kHelp;
  s.control_touched.fill(true);
  if (enabled) return s;  // True enables everything
  // Check boxes are 0-based here: Check1 is index 0.
  switch (code) {
    case 12:
      s.button_touched[kRealTimeData] = s.button_touched[kStop] = false;
      s.control_touched.fill(false);
      for (int c : {5, 6, 7, 11, 12, 13}) s.control_touched[c - 1] = true;
      s.control_touched[kAllPointControl] = true;
      break;
    case 13:
      s.button_touched[kRealTimeFrequency] = s.button_touched[kStop] = false;
      s.control_touched.fill(false);
      for (int c = 4; c <= 12; ++c) s.control_touched[c - 1] = true;
      s.control_touched[kAllPointControl] = true;
      break;
    default:  // 11: all buttons but Stop, which stops the download, and all fourteen controls
      s.button_touched[kStop] = false;
      break;
  }
  return s;
}

void RestScreen(int window_width, int window_height, Rect& tool_bar, Rect& chart) {
  tool_bar.left = (window_width - tool_bar.width) / 2;
  tool_bar.top = 0;
  chart.left = tool_bar.left;
  const int free_height = window_height - 1400 - tool_bar.height - chart.height;
  if (free_height <= 0) {
    chart.top = tool_bar.top + tool_bar.height - 100;
  } else {
    chart.top = free_height / 2 + tool_bar.height - 100;
  }
}

bool DeviceChangeStartsScan(const ShellState& shell, MenuOperation running) {
  return shell.StartupComplete && running == MenuOperation::None;
}

int StopButtonHandler(MenuOperation running) {
  if (running == MenuOperation::Download) return 8;
  if (running == MenuOperation::LiveData) return 9;
  if (running == MenuOperation::LiveSpectrum) return 11;
  return 0;
}

}  // namespace accelog
