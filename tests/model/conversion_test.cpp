#include "model/conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <tuple>

#include "app/chart_fixture.h"

namespace accelog::testing {
namespace {

// FillPoints: raw counts one second apart from 7/5/2013 9:05:07, as a file opens.
using ConversionTest = ChartTest;

TEST_F(ConversionTest, SampleConversionEdgeCasesAndAnglesWithinNinetyDegrees) {
  RealDataRecord r{};
  ConvertSample(0, 0, 0, r);
  for (float v : {r.X, r.Y, r.Z, r.V, r.AX, r.AY, r.AZ}) EXPECT_EQ(v, 0.0f);

  // Y and Z both zero: the X angle is 0, not 90.
  ConvertSample(256, 0, 0, r);
  EXPECT_EQ(std::fabs(r.AX) + std::fabs(r.AY) + std::fabs(r.AZ), 0.0f);

  ConvertSample(100, 0, -100, r);
  EXPECT_NEAR(r.AZ, -45.0f, 1e-3f);
  EXPECT_NEAR(r.AX, 45.0f, 1e-3f);

  for (int16_t x : {int16_t{-32768}, int16_t{-1}, int16_t{0}, int16_t{1}, int16_t{32767}}) {
    for (int16_t z : {int16_t{-32768}, int16_t{-3}, int16_t{0}, int16_t{5}, int16_t{32767}}) {
      ConvertSample(x, 7, z, r);
      for (float a : {r.AX, r.AY, r.AZ}) EXPECT_LE(std::fabs(a), 90.0f);  // false for NaN too
    }
  }
}

// Long ranges are converted on two threads, short ones in place: either way
// the result must be the one a plain walk over the points in order gives, to
// the last bit. Few distinct values, so equal extremes are common: the first
// one wins, and a constant channel reports the window's first point for both.
// Zero points are counted along.
TEST_F(ConversionTest, StatisticsAreThoseOfAPlainWalk) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> level(-8, 8);
  std::vector<KvxSample> samples(70001);
  for (auto& s : samples) s = {int16_t(250 * level(rng)), int16_t(250 * level(rng)), int16_t(60 * level(rng))};
  for (int i = 0; i < 5; ++i) samples[i].x = int16_t(std::array{5, 9, 9, 1, 1}[i]), samples[i].z = 1;
  FillPoints(samples);
  for (auto [from, to] : {std::pair{1, 70001}, {3, 12290}, {4097, 70000}, {1, 5}, {3, 5}}) {
    data_.ComputeStatistics(from, to);
    for (int c = 0; c < kChannels; ++c) {
      float mx = ChannelValue(data_.RealData[from], c), mn = mx;
      int32_t at_max = from, at_min = from;
      double sum = mx;
      for (int32_t i = from + 1; i <= to; ++i) {
        const float v = ChannelValue(data_.RealData[i], c);
        if (v > mx) mx = v, at_max = i;
        if (v < mn) mn = v, at_min = i;
        sum += v;
      }
      EXPECT_EQ(std::tuple(data_.Stats.StatMaxValue[c], data_.Stats.StatMaxPoint[c], data_.Stats.StatMinValue[c],
                           data_.Stats.StatMinPoint[c], data_.Stats.StatAverage[c]),
                std::tuple(mx, at_max, mn, at_min, float(sum / (to - from + 1))))
          << from << ".." << to << " channel " << c;
    }
    const auto zero = [](const KvxSample& s) { return s.x == 0 && s.y == 0 && s.z == 0; };
    EXPECT_EQ(data_.CountZeroPoints(from, to), std::count_if(&samples[from - 1], &samples[to - 1] + 1, zero)) << from;
  }
  EXPECT_EQ(data_.CountZeroPoints(5, 4), 0);
}

TEST_F(ConversionTest, FullScaleSamplesKeepTheirStatisticsAndAUsableAxis) {
  FillPoints({{-32768, -32768, -32768}, {-32768, -32768, -32768}});
  data_.ComputeStatistics(1, 2);
  EXPECT_LT(data_.Stats.StatMinValue[kX], -100000.0f);
  EXPECT_EQ(data_.Stats.StatMaxValue[kX], data_.Stats.StatMinValue[kX]);
  PlotScale scale;
  data_.ScaleAccelAxis(scale);
  EXPECT_LT(scale.AccelRangeLowInt, -32768);  // wider than 16 bits
  EXPECT_GT(scale.AccelScale, 0.0f);
}

TEST_F(ConversionTest, StatisticsTexts) {
  FillPoints({{316, 0, 1}, {-50, 0, 1}});  // 316 x 3.9 = 1232.4 mg
  data_.DeviceSampleCount = 2;
  FileHeadRecord& p = data_.Head;  // the file's head, not the parameters to send
  p.CriticalX = 3, p.RecordInterval = 500, p.IntervalUnit = 0;
  p.StartYear = 13, p.StartMonth = 5, p.StartDay = 7, p.StartHour = 9, p.StartMinute = 5, p.StartSecond = 7;
  data_.ComputeStatistics(1, 2);
  StatisticsTexts t = data_.StatisticsBoxTexts();
  EXPECT_EQ(t.MaxText[kX], "1232   7/5/2013 9:5:7");
  EXPECT_EQ(t.MinText[kX], "-195   7/5/2013 9:5:8");
  EXPECT_EQ(t.AverageText[kX], "518");
  EXPECT_EQ(t.CriticalText[0] + "|" + t.UnitText + "|" + t.StartText + "|" + t.IntervalText + "|" +
                t.SampleCountText + "|" + t.RecordModeText,
            "3|mg|7/5/13 9:5:7|500 millisecond|2|Normal");
  p.IntervalUnit = 3, p.RecordMode = 1;
  t = data_.StatisticsBoxTexts();
  EXPECT_EQ(t.IntervalText + "|" + t.RecordModeText, "500 Hour|Motion Dectection");
}

TEST_F(ConversionTest, LivePointsAreNumberedAndStamped) {
  data_.RawX = -200, data_.RawY = 0, data_.RawZ = 100;
  data_.AppendLiveSample();
  data_.AppendLiveSample();
  EXPECT_EQ(data_.CountPoint, 2);
  EXPECT_EQ(data_.RealData[2].No, 2);
  EXPECT_FALSE(data_.RealData[2].Date().empty());
  data_.CountPoint = kMaxRecords;
  data_.AppendLiveSample();  // a full table takes no more points
  EXPECT_EQ(data_.CountPoint, kMaxRecords);
}

// The distribution of a window of points over the chart's 200 columns.




class SlotsTest : public ::testing::Test {
 protected:
  std::vector<int> Occupied() const {
    std::vector<int> k;
    for (int i = 1; i <= kSlots; ++i) {
      if (data_.SlotUsed[i] > 0) k.push_back(i);
    }
    return k;
  }

  // Every point of start..end lies in exactly one column, in order.
  void ExpectEveryPointOnce(int32_t start, int32_t end) {
    int32_t next = start;
    for (int k = 1; k <= kSlots; ++k) {
      if (data_.SlotUsed[k] == 0) continue;
      ASSERT_EQ(data_.SlotPoint[k], next) << "column " << k;
      next += data_.SlotUsed[k];
    }
    EXPECT_EQ(next, end + 1);
  }

  Dataset data_;
};

TEST_F(SlotsTest, EveryWindowSizeKeepsEveryPointOnceSpreadEvenly) {
  const struct {
    int32_t start, end;
    std::vector<int> columns;
  } cases[] = {
      {7, 7, {1}},
      {7, 8, {1, 200}},
      {1, 3, {1, 101, 200}},
      {101, 110, {1, 24, 47, 70, 93, 116, 139, 162, 185, 200}},
  };
  for (const auto& c : cases) {
    data_.MapRangeToSlots(c.start, c.end);
    EXPECT_EQ(Occupied(), c.columns) << c.start << ".." << c.end;
    ExpectEveryPointOnce(c.start, c.end);
  }
  // Sizes 1..420 and the largest file: every point once, and from 200 points
  // on every column filled evenly.
  for (int32_t n = 1; n <= 421; ++n) {
    const int32_t size = n == 421 ? 327600 : n;
    data_.MapRangeToSlots(50, 50 + size - 1);
    SCOPED_TRACE(size);
    ExpectEveryPointOnce(50, 50 + size - 1);
    EXPECT_EQ(Occupied().size(), static_cast<size_t>(std::min(size, 200)));
    const auto [low, high] = std::minmax_element(data_.SlotUsed + 1, data_.SlotUsed + kSlots + 1);
    EXPECT_TRUE(size < 200 || (*low == size / 200 && *high - *low <= 1));
  }
  data_.SlotUsed[4] = 9;
  data_.MapRangeToSlots(10, 9);  // an empty window empties every column
  EXPECT_TRUE(Occupied().empty());
}

// A live window leaves the last twenty columns free. Below 180 points the
// columns are laid out anew; from then on every eleventh point remaps.
TEST_F(SlotsTest, LivePointsFillTheWindowThenRemapEveryEleventhPoint) {
  data_.MapRangeToLiveSlots(1, 1000);
  ExpectEveryPointOnce(1, 1000);
  for (int k = 1; k <= 200; ++k) EXPECT_TRUE(k > 180 ? data_.SlotUsed[k] == 0 : data_.SlotUsed[k] >= 5) << k;
  for (auto [count, column, point] : {std::tuple{50, 197, 50}, {179, 169, 169}, {179, 189, 179}, {180, 1, 1}}) {
    data_.CountPoint = count;
    data_.MapLiveCountToSlots();
    EXPECT_EQ(data_.SlotPoint[column], point) << count;
    EXPECT_EQ(Occupied().size(), static_cast<size_t>(count));
  }
  for (int32_t n = 181; n <= 190; ++n) {
    data_.CountPoint = n;
    data_.MapLiveCountToSlots();
    EXPECT_EQ(data_.SlotPoint[180 + 2 * (n - 180)], n);
  }
  EXPECT_EQ(data_.DispEndPoint, 180);
  data_.CountPoint = 191;
  data_.MapLiveCountToSlots();
  EXPECT_EQ(data_.DispEndPoint, 191);
  EXPECT_EQ(data_.SlotUsed[182], 0);
  ExpectEveryPointOnce(1, 191);
  data_.CountPoint = 192;
  data_.MapLiveCountToSlots();
  EXPECT_EQ(data_.SlotPoint[182], 192);
}

}  // namespace
}  // namespace accelog::testing
