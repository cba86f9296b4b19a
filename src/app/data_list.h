#pragma once
// The data list's paging rules and row texts, without the window: 25 rows
// of RealDataNoZero from TopPoint on.
#include <array>
#include <cstdint>
#include <string>

namespace accelog {

inline constexpr int32_t kListRows = 25;

// Command2 "Previous " and Page Up.
int32_t PreviousPageTop(int32_t top);
// Command3 "Next" and Page Down.
int32_t NextPageTop(int32_t top, int32_t count);
// Command5, the wheel turned back.
int32_t RowBackTop(int32_t top);
// Command6, the wheel turned forward.
int32_t RowForwardTop(int32_t top, int32_t count);

// Command4 "Move" with the go-to box's text.
struct MoveResult {
  int32_t top;
  std::string box;  // what the go-to box shows afterwards
  bool redraw;      // false: the rows stay as they are
};
MoveResult MoveTop(const std::string& box, int32_t count);

// The nine cells of the row showing point p; all empty beyond the count.
std::array<std::string, 9> ListRowTexts(int32_t p, int32_t count);

}  // namespace accelog
