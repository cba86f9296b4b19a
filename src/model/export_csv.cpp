// CSV for other programs: ISO dates and every value in full 32-bit precision.
#include <cstdio>
#include <cstring>

#include "model/export.h"
#include "model/dataset.h"
#include "model/text_util.h"

namespace accelog {

ExportResult WriteCsvExport(const Dataset& data, const std::string& path, ExportRows rows, const ExportProgress& progress) {
  constexpr size_t kMaxLine = 256;
  const std::string header =
      "No,Date,Time,X(mg),Y(mg),Z(mg),Vector Sum(mg),X Angle(degree),Y Angle(degree),Z Angle(degree)\n";
  auto line = [&data](char* out, int32_t, int32_t index) {
    const RealDataRecord& r = data.RealDataNoZero[index];
    // Integers only: printf's locale cannot touch them.
    int n = std::snprintf(out, 64, "%d,%04d-%02d-%02d,%02d:%02d:%02d", r.No, r.Year, r.Month, r.Day,
                          r.Hour, r.Minute, r.Second);
    size_t used = static_cast<size_t>(std::max(n, 0));
    for (float v : {r.X, r.Y, r.Z, r.V, r.AX, r.AY, r.AZ}) {
      const std::string t = ExactFloatText(v);
      out[used++] = ',';
      std::memcpy(out + used, t.data(), t.size());
      used += t.size();
    }
    out[used++] = '\n';
    return used;
  };
  return WriteLineExport(path, rows, header, kMaxLine, 110 * (static_cast<uint64_t>(rows.Count()) + 1),
                         line, progress);
}

}  // namespace accelog
