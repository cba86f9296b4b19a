// export: the points of a .kvx file as the text file, workbook or CSV of
// "Export Data", without a window.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "model/export.h"
#include "model/staged_file.h"
#include "model/dataset.h"

namespace accelog::cli {

int RunExport(Args& args) {
  const char* usage = "export FILE.kvx OUT.txt|OUT.xlsx|OUT.csv [--overwrite] [--from N] [--to M]";
  const bool overwrite = args.TakeFlag("--overwrite");
  const auto from_text = args.TakeValue("--from");
  const auto to_text = args.TakeValue("--to");
  const auto from = from_text ? ParseInteger(*from_text) : std::optional<long long>(1);
  const auto to = to_text ? ParseInteger(*to_text) : std::optional<long long>(kMaxRecords);
  ExportFormat format;
  if (args.UnknownOption() || args.words.size() != 2 || !from || !to ||
      !ExportFormatOf(args.words[1], format)) {
    return UsageError(usage);
  }
  Dataset data;
  if (int rc = OpenKvxFile(data, args.words[0])) return rc;

  const std::string& out = args.words[1];
  struct stat st {};
  if (::stat(out.c_str(), &st) == 0) {
    if (!overwrite) {
      std::fprintf(stderr, "%s: exists; --overwrite replaces it\n", out.c_str());
      return kExitFailed;
    }
    // Replaced by the rename once the new file is whole.
    if (const Result replaceable = ReplaceableFile(out); !replaceable.Ok()) {
      std::fprintf(stderr, "%s\n", replaceable.message.c_str());
      return kExitFailed;
    }
  }
  auto point = [](long long n) { return static_cast<int32_t>(std::clamp<long long>(n, 0, kMaxRecords + 1)); };
  const ExportRows rows = (from_text || to_text) ? data.NoZeroRowsBetween(point(*from), point(*to)) : data.AllNoZeroRows();
  if (const ExportResult written = WriteExport(data, format, out, rows, {}); !written.Ok()) {
    std::fprintf(stderr, "%s\n", written.message.c_str());
    return kExitFailed;
  }
  std::fprintf(stderr, "%s\n", format == ExportFormat::Workbook ? "Complete !" : "Complete!");
  return kExitOk;
}

}  // namespace accelog::cli
