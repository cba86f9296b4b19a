// The fixed-column text file: 151-byte lines of 149 characters and CR LF.
#include <cstring>
#include <string_view>

#include "model/export.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"

namespace accelog {
namespace {

constexpr size_t kLineBytes = 151;
constexpr size_t kWidths[9] = {7, 23, 10, 10, 10, 20, 20, 20, 20};

// Each cell cut or padded to its column, every column followed by a blank.
size_t TextLine(char* out, const std::string_view (&cells)[9]) {
  std::memset(out, ' ', kLineBytes - 2);
  out[kLineBytes - 2] = '\r';
  out[kLineBytes - 1] = '\n';
  size_t pos = 0;
  for (int c = 0; c < 9; ++c) {
    std::memcpy(out + pos, cells[c].data(), std::min(cells[c].size(), kWidths[c]));
    pos += kWidths[c] + 1;
  }
  return kLineBytes;
}

}  // namespace

ExportResult WriteTextExport(const Dataset& data, const std::string& path, ExportRows rows, const ExportProgress& progress) {
  const std::string_view head[9] = {"No",         "Date        Time", "X(mg)",
                                    "Y(mg)",      "Z(mg)",            "Vector Sum",
                                    "X Angle(degree)", "Y Angle(degree)", "Z Angle(degree)"};
  std::string header(kLineBytes, ' ');
  TextLine(header.data(), head);
  auto line = [&data](char* out, int32_t row, int32_t index) {
    const RealDataRecord& r = data.RealDataNoZero[index];
    char when[20];
    std::memset(when, ' ', sizeof when);
    std::memcpy(when, r.DateText, sizeof r.DateText);
    std::memcpy(when + 12, r.TimeText, sizeof r.TimeText);
    const std::string texts[8] = {NumberText(static_cast<long long>(row)), FormatDecimals(r.X, 0),
                                  FormatDecimals(r.Y, 0),  FormatDecimals(r.Z, 0),
                                  FormatDecimals(r.V, 0),  FormatDecimals(r.AX, 1),
                                  FormatDecimals(r.AY, 1), FormatDecimals(r.AZ, 1)};
    const std::string_view cells[9] = {texts[0], {when, sizeof when}, texts[1], texts[2], texts[3],
                                       texts[4], texts[5], texts[6], texts[7]};
    return TextLine(out, cells);
  };
  return WriteLineExport(path, rows, header, kLineBytes,
                         kLineBytes * (static_cast<uint64_t>(rows.Count()) + 1), line, progress);
}

}  // namespace accelog
