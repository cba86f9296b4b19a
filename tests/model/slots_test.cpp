// The distribution of a window of points over the chart's 200 columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/conversion.h"
#include "model/state.h"

namespace accelog {
namespace {

class SlotsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDataState(); }

  std::vector<int> Occupied() const {
    std::vector<int> k;
    for (int i = 1; i <= kSlots; ++i) {
      if (Data.SlotUsed[i] > 0) k.push_back(i);
    }
    return k;
  }

  // Every point of start..end lies in exactly one column, in order.
  void ExpectEveryPointOnce(int32_t start, int32_t end) {
    int32_t next = start;
    for (int k = 1; k <= kSlots; ++k) {
      if (Data.SlotUsed[k] == 0) continue;
      ASSERT_EQ(Data.SlotPoint[k], next) << "column " << k;
      next += Data.SlotUsed[k];
    }
    EXPECT_EQ(next, end + 1);
  }
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
    MapRangeToSlots(c.start, c.end);
    EXPECT_EQ(Occupied(), c.columns) << c.start << ".." << c.end;
    ExpectEveryPointOnce(c.start, c.end);
  }
}

// Sizes 1..420 and the largest file: every point once, and from 200 points on
// every column filled evenly.
TEST_F(SlotsTest, EveryWindowSizeKeepsEveryPointOnce) {
  for (int32_t n = 1; n <= 421; ++n) {
    const int32_t size = n == 421 ? 327600 : n;
    MapRangeToSlots(50, 50 + size - 1);
    SCOPED_TRACE(size);
    ExpectEveryPointOnce(50, 50 + size - 1);
    EXPECT_EQ(Occupied().size(), static_cast<size_t>(std::min(size, 200)));
    const auto [low, high] = std::minmax_element(Data.SlotUsed + 1, Data.SlotUsed + kSlots + 1);
    EXPECT_TRUE(size < 200 || (*low == size / 200 && *high - *low <= 1));
  }
  Data.SlotUsed[4] = 9;
  MapRangeToSlots(10, 9);  // an empty window empties every column
  EXPECT_TRUE(Occupied().empty());
}

TEST_F(SlotsTest, LiveWindowLeavesTheLastTwentyColumnsFree) {
  MapRangeToLiveSlots(1, 1000);
  ExpectEveryPointOnce(1, 1000);
  for (int k = 181; k <= 200; ++k) EXPECT_EQ(Data.SlotUsed[k], 0);
  for (int k = 1; k <= 180; ++k) EXPECT_GE(Data.SlotUsed[k], 5);
}

TEST_F(SlotsTest, LivePointsBeforeTheWindowFills) {
  Data.CountPoint = 50;
  RealCountPoint();
  EXPECT_EQ(Data.SlotPoint[197], 50);
  EXPECT_EQ(Occupied().size(), 50u);
  Data.CountPoint = 179;
  RealCountPoint();
  EXPECT_EQ(Data.SlotPoint[169], 169);
  EXPECT_EQ(Data.SlotPoint[189], 179);
  EXPECT_EQ(Occupied().size(), 179u);
}

TEST_F(SlotsTest, LivePointsRemapEveryEleventhPoint) {
  Data.CountPoint = 180;
  RealCountPoint();
  EXPECT_EQ(Occupied().size(), 180u);
  for (int32_t n = 181; n <= 190; ++n) {
    Data.CountPoint = n;
    RealCountPoint();
    EXPECT_EQ(Data.SlotPoint[180 + 2 * (n - 180)], n);
  }
  EXPECT_EQ(Data.DispEndPoint, 180);
  Data.CountPoint = 191;
  RealCountPoint();
  EXPECT_EQ(Data.DispEndPoint, 191);
  EXPECT_EQ(Data.SlotUsed[182], 0);
  ExpectEveryPointOnce(1, 191);
  Data.CountPoint = 192;
  RealCountPoint();
  EXPECT_EQ(Data.SlotPoint[182], 192);
}

}  // namespace
}  // namespace accelog
