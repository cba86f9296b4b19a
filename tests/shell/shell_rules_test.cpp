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
      {11, {kHelp, kStop}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {12, {kHelp, kRealTimeData, kStop}, {0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1}},
      {13, {kHelp, kRealTimeFrequency, kStop}, {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1}},
  };
  for (const auto& c : cases) {
    const EnabledSet off = MenuCommandCodeEnabledButton(c.code, false);
    for (int b = 0; b < kToolButtons; ++b) {
      const bool kept = std::find(c.kept.begin(), c.kept.end(), b) != c.kept.end();
      EXPECT_EQ(off.button_touched[b], !kept) << c.code << " button " << b;
    }
    for (int i = 0; i < kChartControls; ++i) EXPECT_EQ(off.control_touched[i], c.controls[i]) << c.code << " " << i;
    // True enables all ten and all fourteen.
    const EnabledSet on = MenuCommandCodeEnabledButton(c.code, true);
    for (int b = 0; b < kToolButtons; ++b) EXPECT_EQ(on.button_touched[b], b != kHelp);
    for (bool t : on.control_touched) EXPECT_TRUE(t);
  }
}

TEST(RestScreen, CentresTheToolBarAndTheChartBelowIt) {
  Rect tool{0, 0, 18000, 800}, chart{0, 0, 17000, 8000};
  RestScreen(19000, 11800, tool, chart);
  EXPECT_EQ(chart.left, tool.left);
  EXPECT_GT(chart.top, 700);
  // No free height: the chart sits right under the tool bar.
  RestScreen(19000, 9000, tool, chart);
  EXPECT_EQ(chart.top, 700);
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
  for (auto [code, handler] : {std::pair{0, 0}, {11, 8}, {12, 9}, {13, 11}, {14, 0}}) {
    Data.MenuCommandCode = static_cast<int16_t>(code);
    EXPECT_EQ(StopButtonHandler(), handler) << code;
  }
}

}  // namespace
}  // namespace accelog
