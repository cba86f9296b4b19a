#include "shell/shell_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "data/state.h"

namespace accelog {
namespace {

TEST(ToolBarEnabling, EachOperationKeepsItsOwnButtonsAndControls) {
  // Buttons left alone (Help always), and the chart controls touched:
  // Check1..Check13, then "All Point".
  const struct {
    int code;
    std::vector<int> kept;
    std::array<bool, kChartControls> controls;
  } cases[] = {
      {11, {kHelp}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {12, {kHelp, kRealTimeData, kStop}, {0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1}},
      {13, {kHelp, kRealTimeFrequency, kStop}, {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1}},
  };
  for (const auto& c : cases) {
    const EnabledSet off = MenuCommandCodeEnabledButton(c.code, false);
    EXPECT_FALSE(off.enabled);
    for (int b = 0; b < kToolButtons; ++b) {
      const bool kept = std::find(c.kept.begin(), c.kept.end(), b) != c.kept.end();
      EXPECT_EQ(off.button_touched[b], !kept) << c.code << " button " << b;
    }
    for (int i = 0; i < kChartControls; ++i) EXPECT_EQ(off.control_touched[i], c.controls[i]) << c.code << " " << i;
    // True enables all ten and all fourteen.
    const EnabledSet on = MenuCommandCodeEnabledButton(c.code, true);
    EXPECT_TRUE(on.enabled);
    for (int b = 0; b < kToolButtons; ++b) EXPECT_EQ(on.button_touched[b], b != kHelp);
    for (bool t : on.control_touched) EXPECT_TRUE(t);
  }
}

TEST(RestScreen, CentresTheToolBarAndTheChartBelowIt) {
  Rect tool{0, 0, 18000, 800}, chart{0, 0, 17000, 8000};
  RestScreen(19000, 11800, tool, chart);
  EXPECT_EQ(tool.left, 500);
  EXPECT_EQ(tool.top, 0);
  EXPECT_EQ(chart.left, 500);
  EXPECT_EQ(chart.top, (11800 - 1400 - 800 - 8000) / 2 + 800 - 100);
  // No free height: the chart sits right under the tool bar.
  RestScreen(19000, 9000, tool, chart);
  EXPECT_EQ(chart.top, 700);
  RestScreen(15000, 9000, tool, chart);
  EXPECT_EQ(tool.left, -1500);
}

TEST(DeviceChange, ScansOnlyWhenIdleAfterStartUp) {
  ResetShellState();
  ResetDataState();
  EXPECT_FALSE(DeviceChangeStartsScan());
  Shell.StartupComplete = true;
  EXPECT_TRUE(DeviceChangeStartsScan());
  Data.MenuCommandCode = 11;
  EXPECT_FALSE(DeviceChangeStartsScan());
}

TEST(StopButton, RunsTheHandlerOfTheRunningCapture) {
  ResetDataState();
  for (auto [code, handler] : {std::pair{0, 0}, {11, 0}, {12, 9}, {13, 11}, {14, 0}}) {
    Data.MenuCommandCode = static_cast<int16_t>(code);
    EXPECT_EQ(StopButtonHandler(), handler) << code;
  }
}

}  // namespace
}  // namespace accelog
