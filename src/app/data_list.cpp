#include "app/data_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"

namespace accelog {

int32_t PreviousPageTop(int32_t top) { return std::max(top - kListRows, 1); }

int32_t NextPageTop(int32_t top, int32_t count) {
  int32_t t = top + kListRows;
  // A page that would run past the last point ends at it (30 points: 6..30).
  if (t + kListRows - 1 > count) t = count - (kListRows - 1);
  return std::max(t, 1);
}

int32_t RowBackTop(int32_t top) { return std::max(top - 1, 1); }

int32_t RowForwardTop(int32_t top, int32_t count) {
  int32_t t = top + 1;
  if (t > count - 5) t = count - 5;
  return std::max(t, 1);
}

MoveResult MoveTop(const std::string& box, int32_t count) {
  if (count < kListRows + 1) return {1, "", false};
  const std::string text = TrimBlanks(box);
  double v = 0.0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  const bool number = !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
  int32_t top = 1;
  if (number && std::floor(v) > 0) {
    top = std::floor(v) > count ? count + 1 : static_cast<int32_t>(std::floor(v));
  }
  if (top > count) top = count - (kListRows - 1);
  top = std::max(top, 1);
  return {top, std::to_string(top), true};
}

std::array<std::string, 9> ListRowTexts(const Dataset& data, int32_t p, int32_t count) {
  if (p < 1 || p > count) return {};
  const RealDataRecord& r = data.RealDataNoZero[p];
  return {std::to_string(p),
          std::string(r.DateText, sizeof r.DateText) + " " + std::string(r.TimeText, sizeof r.TimeText),
          FloatText(r.X),
          FloatText(r.Y),
          FloatText(r.Z),
          FormatDecimals(r.V, 1),
          FormatDecimals(r.AX, 1),
          FormatDecimals(r.AY, 1),
          FormatDecimals(r.AZ, 1)};
}

}  // namespace accelog
