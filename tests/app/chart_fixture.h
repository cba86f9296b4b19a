#pragma once
// Chart tests build a loaded, empty chart window over the data and fill
// RealData directly or through a small .kvx file.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/chart.h"
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
    ApplyDefaultParameters();
    chart_ = std::make_unique<Chart>(Data, Conv);
    chart_->LoadWindow();
  }

  // Points from raw counts, one second apart from 7/5/2013 9:05:07, with
  // statistics, axis scale and plot positions as opening a file leaves them.
  void FillPoints(const std::vector<KvxSample>& samples) {
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
    ScaleAccelAxis(chart_->scale);
    ComputePlotPositions(chart_->scale);
  }

  // The window start..end mapped and drawn, as a zoom leaves it.
  void Show(int32_t start, int32_t end) {
    Data.DispStartPoint = start;
    Data.DispEndPoint = end;
    MapRangeToSlots(start, end);
    chart_->Draw(start, end);
  }

  // The samples filled in and all of them shown.
  void ShowAll(const std::vector<KvxSample>& samples) {
    FillPoints(samples);
    Show(1, static_cast<int32_t>(samples.size()));
  }

  static std::vector<KvxSample> Flat(int n, int16_t z = 256) {
    return std::vector<KvxSample>(static_cast<size_t>(n), KvxSample{0, 10, z});
  }

  const SceneLine& Seg(int k, int j, int c) const { return chart_->scene.CurveLine[k][j][c]; }

  std::unique_ptr<Chart> chart_;
};

}  // namespace accelog::testing
