#include "shell/shell_rules.h"

#include <gtest/gtest.h>

#include "data/state.h"

namespace accelog {
namespace {

int Touched(const EnabledSet& s) {
  int n = 0;
  for (bool b : s.button_touched) n += b;
  return n;
}

TEST(ToolBarEnabling, DownloadDisablesEverythingButHelp) {
  const EnabledSet s = MenuCommandCodeEnabledButton(11, false);
  EXPECT_FALSE(s.enabled);
  EXPECT_EQ(Touched(s), 10);
  EXPECT_FALSE(s.button_touched[kHelp]);
  EXPECT_TRUE(s.button_touched[kStop]);
  for (bool c : s.control_touched) EXPECT_TRUE(c);
}

TEST(ToolBarEnabling, LiveDataKeepsItsOwnButtonAndStop) {
  const EnabledSet s = MenuCommandCodeEnabledButton(12, false);
  EXPECT_EQ(Touched(s), 8);
  EXPECT_FALSE(s.button_touched[kRealTimeData]);
  EXPECT_FALSE(s.button_touched[kStop]);
  EXPECT_TRUE(s.button_touched[kRealTimeFrequency]);
  // Check5..7 and 11..13, then "All Point".
  const bool expected[kChartControls] = {false, false, false, false, true, true, true,
                                         false, false, false, true, true, true, true};
  for (int c = 0; c < kChartControls; ++c) EXPECT_EQ(s.control_touched[c], expected[c]) << c;
}

TEST(ToolBarEnabling, LiveSpectrumKeepsItsOwnButtonAndStop) {
  const EnabledSet s = MenuCommandCodeEnabledButton(13, false);
  EXPECT_EQ(Touched(s), 8);
  EXPECT_FALSE(s.button_touched[kRealTimeFrequency]);
  EXPECT_FALSE(s.button_touched[kStop]);
  const bool expected[kChartControls] = {false, false, false, true, true, true, true,
                                         true,  true,  true,  true, true, false, true};
  for (int c = 0; c < kChartControls; ++c) EXPECT_EQ(s.control_touched[c], expected[c]) << c;
}

TEST(ToolBarEnabling, TrueEnablesAllTenAndAllFourteen) {
  for (int code : {11, 12, 13}) {
    const EnabledSet s = MenuCommandCodeEnabledButton(code, true);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(Touched(s), 10);
    for (bool c : s.control_touched) EXPECT_TRUE(c);
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
  EXPECT_EQ(StopButtonHandler(), 0);
  Data.MenuCommandCode = 12;
  EXPECT_EQ(StopButtonHandler(), 9);
  Data.MenuCommandCode = 13;
  EXPECT_EQ(StopButtonHandler(), 11);
  Data.MenuCommandCode = 14;
  EXPECT_EQ(StopButtonHandler(), 0);
}

}  // namespace
}  // namespace accelog
