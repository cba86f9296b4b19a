// Opening a file gives, record for record, what converting each sample and
// stepping the clock one point at a time gives.
#include <gtest/gtest.h>

#include <cstring>

#include "data/conversion.h"
#include "data/kvx_file.h"
#include "data/utils.h"
#include "params/machine_parameter.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using testing::KvxHead;

TEST(OpenIdentity, RecordsEqualAStraightConversion) {
  testing::TempFolder folder;
  // Sub-second, whole-second and hour steps, a start just before a new
  // year; enough points for the conversion to be split.
  for (const KvxHead& h : {KvxHead{.interval = 10, .count = 9000, .hour = 23, .minute = 59, .second = 58},
                           KvxHead{.interval = 700, .count = 5000, .month = 2, .day = 28},
                           KvxHead{.interval = 1, .unit = 3, .count = 4500, .day = 30},
                           KvxHead{.interval = 250, .count = 6000, .month = 12, .day = 31, .hour = 23, .minute = 59, .second = 59}}) {
    std::vector<testing::Sample> samples(h.count);
    uint32_t seed = h.count;
    for (auto& s : samples) {
      seed = seed * 1664525u + 1013904223u;
      if ((seed >> 8) % 50 != 0) s = {int16_t(seed >> 16), int16_t(seed >> 3), int16_t((seed >> 20) % 600 - 300)};
    }
    testing::WriteBytes(folder.File("f.kvx"), KvxImage(h, samples));
    ResetDataState();
    ResetConversionState();
    ApplyDefaultParameters();
    ASSERT_EQ(OpenDataFileServer(folder.File("f.kvx")), OpenResult::Ok);
    ASSERT_EQ(Data.CountPoint, static_cast<int32_t>(h.count));

    const int16_t start[] = {int16_t(h.year + 2000), h.month, h.day, h.hour, h.minute, h.second, 0};
    std::memcpy(&Data.ClockYear, start, sizeof start);
    int32_t nonzero = 0;
    for (int32_t k = 1; k <= Data.CountPoint; ++k) {
      RealDataRecord want{};
      ConvertSample(samples[k - 1].x, samples[k - 1].y, samples[k - 1].z, want);
      std::memcpy(&want.Year, &Data.ClockYear, 6 * sizeof(int16_t));
      StampRecordTexts(want);
      AdvanceClock(IntervalMilliseconds(h.interval, h.unit));
      const RealDataRecord& got = Data.RealData[k];
      ASSERT_EQ(got.No, k);
      ASSERT_EQ(std::memcmp(&got.Year, &want.Year, 6 * sizeof(int16_t) + 7 * sizeof(float)), 0) << k;
      ASSERT_EQ(std::memcmp(got.DateText, want.DateText, 18), 0) << k << " " << got.Date() << " " << got.Time();
      nonzero += !want.IsZeroPoint();
    }
    EXPECT_EQ(Data.CountPointNoZero, nonzero);
  }
}

}  // namespace
}  // namespace accelog
