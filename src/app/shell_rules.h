#pragma once
// The main window's rules that do not need a window: start-up state, the
// tool-bar table and its enabling per running operation, the layout of the
// tool bar and the chart window, and when a device change starts a scan.
#include <array>
#include <string>

#include "core/menu_operation.h"

namespace accelog {

// What the main window keeps of the program's own progress.
struct ShellState {
  bool StartupComplete = false;
};

inline constexpr int kMainWindowWidth = 19000;  // twips
inline constexpr int kMainWindowHeight = 11800;

inline constexpr unsigned kChartBackColor = 0xD8E9EC;  // BGR: red 236, green 233, blue 216
inline constexpr int kToolBarWidth = 18000;            // twips
inline constexpr int kToolBarHeight = 800;
inline constexpr int kStatusPanels = 5;
inline constexpr int kStatusPanelWidth = 3720;
// Beside "No Device !", panel 2 points to the simulated logger.
inline constexpr int kHintPanel = 2;

// The eleven tool-bar buttons, Command1..Command11, in that order.
enum ToolButton {
  kSystemParameter = 0,
  kRealTimeFrequency,
  kPrint,
  kDownloadData,
  kRealTimeData,
  kDataList,
  kExportData,
  kAcceleration,
  kFrequency,
  kStop,
  kHelp,
  kToolButtons
};
const char* ToolButtonHint(int button);

// Chart controls the enabling routines reach: Check1..Check13 and Command1.
inline constexpr int kChartControls = 14;
inline constexpr int kAllPointControl = 13;  // index of Command1 ("All Point")

struct EnabledSet {
  // Which buttons and controls the routine touches, and the state it gives them.
  std::array<bool, kToolButtons> button_touched{};
  std::array<bool, kChartControls> control_touched{};
  bool enabled = true;
};
// MenuCommandCodeEnabledButton_11/12/13 with their argument.
EnabledSet MenuCommandCodeEnabledButton(int code, bool enabled);

struct Rect {
  int left, top, width, height;
};
// RestScreen: the tool bar centred at the top, the chart window centred in
// the free height below it. Sizes in twips.
void RestScreen(int window_width, int window_height, Rect& tool_bar, Rect& chart);

// The device-change rule: scan again only when idle after start-up.
bool DeviceChangeStartsScan(const ShellState& shell, MenuOperation running);

// Stop: what a click stops: 8 the download (as Escape does), 9 or 11 the
// capture by its handler File009 or File011, 0 nothing.
int StopButtonHandler(MenuOperation running);

}  // namespace accelog
