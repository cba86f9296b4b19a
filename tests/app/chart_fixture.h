#pragma once
// Chart tests build a loaded, empty chart window over the data and fill
// RealData directly or through a small .kvx file.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/chart.h"
#include "support/kvx_maker.h"
#include "model/conversion.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "model/machine_parameter.h"
#include "support/temp_folder.h"

namespace accelog::testing {

class ChartTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    chart_ = std::make_unique<Chart>(data_);
    chart_->LoadWindow();
  }

  // Points from raw counts, one second apart from 7/5/2013 9:05:07, with
  // statistics, axis scale and plot positions as opening a file leaves them.
  void FillPoints(const std::vector<KvxSample>& samples) {
    data_.ClockYear = 2013, data_.ClockMonth = 5, data_.ClockDay = 7, data_.ClockHour = 9, data_.ClockMinute = 5;
    data_.ClockSecond = 7, data_.ClockMillisecond = 0;
    int32_t i = 0;
    for (const KvxSample& s : samples) {
      data_.RealData.SetSample(++i, s.x, s.y, s.z);
      data_.RealData.SetTime(i, {data_.ClockYear, int8_t(data_.ClockMonth), int8_t(data_.ClockDay), int8_t(data_.ClockHour),
                                int8_t(data_.ClockMinute), int8_t(data_.ClockSecond), true});
      data_.AdvanceClock(1000);
    }
    data_.CountPoint = i;
    data_.DataLoaded = true;
    data_.ComputeStatistics(1, i);
    data_.ScaleAccelAxis(chart_->scale);
    data_.ComputePlotPositions(chart_->scale);
  }

  // The window start..end mapped and drawn, as a zoom leaves it.
  void Show(int32_t start, int32_t end) {
    data_.DispStartPoint = start;
    data_.DispEndPoint = end;
    data_.MapRangeToSlots(start, end);
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

  Dataset data_;
  std::unique_ptr<Chart> chart_;
};

}  // namespace accelog::testing
