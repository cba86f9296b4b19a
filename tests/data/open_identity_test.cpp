// Opening a file gives, record for record, what converting each sample and
// stepping the clock one point at a time gives.
#include <gtest/gtest.h>

#include <cstring>

#include "core/ui_port.h"
#include "data/conversion.h"
#include "data/kvx_file.h"
#include "data/state.h"
#include "data/utils.h"
#include "params/machine_parameter.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using testing::KvxHead;
using testing::Sample;

TEST(OpenIdentity, RecordsEqualAStraightConversion) {
  testing::TempFolder folder;
  // Sub-second, whole-second and hour steps; a head with the clock out of
  // range; enough points for the conversion to be split.
  const KvxHead heads[] = {{.interval = 10, .count = 9000, .hour = 23, .minute = 59, .second = 58},
                           {.interval = 700, .count = 5000, .month = 2, .day = 28},
                           {.interval = 1, .unit = 3, .count = 4500, .day = 30},
                           {.interval = 250, .count = 6000, .hour = 30, .minute = 75, .second = 99}};
  uint32_t seed = 7;
  for (const KvxHead& h : heads) {
    std::vector<Sample> samples(h.count);
    for (auto& s : samples) {
      seed = seed * 1664525u + 1013904223u;
      const bool zero = (seed >> 8) % 50 == 0;
      s = zero ? Sample{0, 0, 0}
               : Sample{static_cast<int16_t>(seed >> 16), static_cast<int16_t>(seed >> 3),
                        static_cast<int16_t>((seed >> 20) % 600 - 300)};
    }
    const std::string path = folder.File("f.kvx");
    testing::WriteBytes(path, KvxImage(h, samples));
    ResetDataState();
    ResetConversionState();
    ApplyDefaultParameters();
    ASSERT_EQ(OpenDataFileServer(path), OpenResult::Ok);
    ASSERT_EQ(Data.CountPoint, static_cast<int32_t>(h.count));

    Data.ClockYear = static_cast<int16_t>(h.year + 2000);
    Data.ClockMonth = h.month, Data.ClockDay = h.day, Data.ClockHour = h.hour;
    Data.ClockMinute = h.minute, Data.ClockSecond = h.second, Data.ClockMillisecond = 0;
    int32_t nonzero = 0;
    for (int32_t k = 1; k <= Data.CountPoint; ++k) {
      const Sample& s = samples[static_cast<size_t>(k - 1)];
      RealDataRecord want{};
      ConvertSample(s.x, s.y, s.z, want);
      want.Year = Data.ClockYear, want.Month = Data.ClockMonth, want.Day = Data.ClockDay;
      want.Hour = Data.ClockHour, want.Minute = Data.ClockMinute, want.Second = Data.ClockSecond;
      StampRecordTexts(want);
      AdvanceClock(IntervalMilliseconds(h.interval, h.unit));
      const RealDataRecord& got = Data.RealData[k];
      ASSERT_EQ(std::memcmp(&got.X, &want.X, 7 * sizeof(float)), 0) << "point " << k;
      ASSERT_EQ(std::string(got.Date()) + " " + std::string(got.Time()),
                std::string(want.Date()) + " " + std::string(want.Time()))
          << "point " << k;
      ASSERT_EQ(got.Second, want.Second);
      ASSERT_EQ(got.No, k);
      if (!want.IsZeroPoint()) ++nonzero;
    }
    EXPECT_EQ(Data.CountPointNoZero, nonzero);
    // The copy is built when asked for, from the records as they are.
    BuildNoZeroCopy();
    EXPECT_EQ(Data.CountPointNoZero, nonzero);
    for (int32_t i = 1, n = 0; i <= Data.CountPoint; ++i) {
      if (Data.RealData[i].IsZeroPoint()) continue;
      ASSERT_EQ(std::memcmp(&Data.RealDataNoZero[++n], &Data.RealData[i], sizeof(RealDataRecord)), 0);
    }
  }
}

}  // namespace
}  // namespace accelog
