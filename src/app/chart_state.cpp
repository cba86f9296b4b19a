#include "app/chart_state.h"

namespace accelog {

ChartStateRecord ChartState;

void ResetChartState() {
  ChartState = ChartStateRecord{};
  ChartState.PlotWidthUnits = 10000;
  ChartState.PlotHeightUnits = 5000;
  ChartState.TwipsPerUnitX = 1.3f;
  ChartState.AngleOffset = -2500;  // -100 degrees x 25 units per degree
  ChartState.AngleLabelBase = -100;
  // X, Y, Z, V and the points, as the main window starts them.
  const int16_t shown[8] = {1, 1, 1, 1, 0, 0, 0, 1};
  for (int i = 0; i < 8; ++i) ChartState.CurveShown[i] = shown[i];
  ChartState.ChartBackColor = 0xD8E9EC;
}

}  // namespace accelog
