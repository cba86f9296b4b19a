#pragma once
// The data list's paging rules and row texts, without the window: 25 rows
// of RealDataNoZero from TopPoint on.
#include <array>
#include <cstdint>
#include <string>

namespace accelog {

class Dataset;

inline constexpr int32_t kListRows = 25;

// "Previous " and Page Up.
int32_t PreviousPageTop(int32_t top);
// "Next" and Page Down.
int32_t NextPageTop(int32_t top, int32_t count);
// One row back, as the wheel turned back.
int32_t RowBackTop(int32_t top);
// One row forward, as the wheel turned forward.
int32_t RowForwardTop(int32_t top, int32_t count);

// "Move" with the go-to box's text.
struct MoveResult {
  int32_t top;
  std::string box;  // what the go-to box shows afterwards
  bool redraw;      // false: the rows stay as they are
};
MoveResult MoveTop(const std::string& box, int32_t count);

// The nine cells of the row showing point p; all empty beyond the count.
std::array<std::string, 9> ListRowTexts(const Dataset& data, int32_t p, int32_t count);

}  // namespace accelog
