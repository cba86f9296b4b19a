// The distribution of a window of points over the chart's 200 columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "model/conversion.h"
#include "model/dataset.h"

namespace accelog {
namespace {

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

TEST_F(SlotsTest, FewPointsAreSpreadEvenly) {
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
}

// Sizes 1..420 and the largest file: every point once, and from 200 points on
// every column filled evenly.
TEST_F(SlotsTest, EveryWindowSizeKeepsEveryPointOnce) {
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

TEST_F(SlotsTest, LiveWindowLeavesTheLastTwentyColumnsFree) {
  data_.MapRangeToLiveSlots(1, 1000);
  ExpectEveryPointOnce(1, 1000);
  for (int k = 181; k <= 200; ++k) EXPECT_EQ(data_.SlotUsed[k], 0);
  for (int k = 1; k <= 180; ++k) EXPECT_GE(data_.SlotUsed[k], 5);
}

// Below 180 points the columns are laid out anew; from then on every eleventh point remaps.
TEST_F(SlotsTest, LivePointsFillTheWindowThenRemapEveryEleventhPoint) {
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
}  // namespace accelog
