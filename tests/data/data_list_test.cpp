// The data list's paging rules and row texts.
#include "data/list/data_list.h"

#include <gtest/gtest.h>

#include "data/kvx_file.h"
#include "support/export_points.h"

namespace accelog {
namespace {

TEST(DataListTest, PagingKeepsTheTopInsideThePoints) {
  const int32_t cases[][3] = {// got, wanted
                              {NextPageTop(1, 30), 6},      {PreviousPageTop(6), 1},
                              {NextPageTop(6, 30), 6},      {NextPageTop(1, 60), 26},
                              {NextPageTop(1, 10), 1},      {PreviousPageTop(30), 5},
                              {RowForwardTop(1, 30), 2},    {RowForwardTop(25, 30), 25},
                              {RowForwardTop(1, 3), 1},     {RowBackTop(1), 1},
                              {RowBackTop(7), 6}};
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i][0], cases[i][1]) << "case " << i;
}

TEST(DataListTest, MoveTakesOnlyAPositiveNumber) {
  struct Case {
    const char* box;
    int32_t count, top;
    const char* shown;
    bool redraw;
  } cases[] = {{"7", 10, 1, "", false}, {"0", 30, 1, "1", true},  {"-4", 30, 1, "1", true},
               {"abc", 30, 1, "1", true}, {"", 30, 1, "1", true},  {" 12.7 ", 30, 12, "12", true},
               {"99", 30, 6, "6", true},  {"1e12", 30, 6, "6", true}, {"29", 30, 29, "29", true}};
  for (const Case& c : cases) {
    const MoveResult m = MoveTop(c.box, c.count);
    EXPECT_EQ(m.top, c.top) << c.box;
    EXPECT_EQ(m.box, c.shown) << c.box;
    EXPECT_EQ(m.redraw, c.redraw) << c.box;
  }
}

TEST(DataListTest, RowsShowFullValuesAndEmptyBeyondTheCount) {
  testing::LoadPoints({{0, 0, 0, 0}, {-12.7f, 3, 990, 0.05f}});
  BuildNoZeroCopy();
  const auto row = ListRowTexts(1, Data.CountPointNoZero);
  EXPECT_EQ(row[0] + "|" + row[1] + "|" + row[2] + "|" + row[5] + "|" + row[6],
            "1|7/5/2013   9:5:7   |-12.7|1485.0|0.0");
  EXPECT_EQ(ListRowTexts(2, Data.CountPointNoZero), (std::array<std::string, 9>{}));
}

}  // namespace
}  // namespace accelog
