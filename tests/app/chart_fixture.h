#pragma once
// Chart tests start from a loaded, empty chart window and fill RealData
// directly or through a small .kvx file.
#include <gtest/gtest.h>

#include <vector>

#include "app/chart_frame.h"
#include "app/chart_scene.h"
#include "app/chart_state.h"
#include "app/curve_plot.h"
#include "support/kvx_maker.h"
#include "model/conversion.h"
#include "model/state.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "model/machine_parameter.h"
#include "support/temp_folder.h"

namespace accelog::testing {

class ChartTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ResetDataState();
    ResetConversionState();
    ResetChartState();
    ResetChartScene();
    ApplyDefaultParameters();
    FormPictureLoad();
  }

  // Points from raw counts, one second apart from 7/5/2013 9:05:07, with
  // statistics, axis scale and plot positions as opening a file leaves them.
  static void FillPoints(const std::vector<KvxSample>& samples) {
    Data.ClockYear = 2013, Data.ClockMonth = 5, Data.ClockDay = 7, Data.ClockHour = 9, Data.ClockMinute = 5;
    Data.ClockSecond = 7, Data.ClockMillisecond = 0;
    int32_t i = 0;
    for (const KvxSample& s : samples) {
      Data.RealData.SetSample(++i, s.x, s.y, s.z);
      Data.RealData.SetTime(i, {Data.ClockYear, int8_t(Data.ClockMonth), int8_t(Data.ClockDay), int8_t(Data.ClockHour),
                                int8_t(Data.ClockMinute), int8_t(Data.ClockSecond), true});
      AdvanceClock(1000);
    }
    Data.CountPoint = i;
    Data.DataLoaded = true;
    ComputeStatistics(1, i);
    ScaleAccelAxis();
    ComputePlotPositions();
  }

  // The window start..end mapped and drawn, as a zoom leaves it.
  static void Show(int32_t start, int32_t end) {
    Data.DispStartPoint = start;
    Data.DispEndPoint = end;
    MapRangeToSlots(start, end);
    DispCurve(start, end);
  }

  // The samples filled in and all of them shown.
  static void ShowAll(const std::vector<KvxSample>& samples) {
    FillPoints(samples);
    Show(1, static_cast<int32_t>(samples.size()));
  }

  static std::vector<KvxSample> Flat(int n, int16_t z = 256) {
    return std::vector<KvxSample>(static_cast<size_t>(n), KvxSample{0, 10, z});
  }

  static const SceneLine& Seg(int k, int j, int c) { return ChartScene.CurveLine[k][j][c]; }
};

}  // namespace accelog::testing
