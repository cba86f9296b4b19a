// report: a PDF page (or more, for a long events table) with the head, the
// statistics, the largest threshold events and the chart of a whole .kvx file.
#include <cmath>
#include <cstdio>
#include <string>

#include "app/file_menu.h"
#include "app/report_layout.h"
#include "cli/cli.h"
#include "model/dataset.h"
#include "ui/report_painter.h"

namespace accelog::cli {
namespace {

constexpr const char* kUsage = "report FILE.kvx OUT.pdf [--threshold MG] [--paper A4|Letter]";

}  // namespace

int RunReport(Args& args) {
  const auto threshold = args.TakeValue("--threshold");
  const auto paper = args.TakeValue("--paper");
  if (args.UnknownOption() || args.words.size() != 2) return UsageError(kUsage);
  ReportRequest request;
  request.file = args.words[0];
  const std::string out = args.words[1];
  if (threshold) {
    const auto mg = ParseNumber(*threshold);
    if (!mg || !std::isfinite(*mg) || *mg <= 0) {
      std::fprintf(stderr, "accelog-cli: --threshold wants mg above 0, not '%s'\n", threshold->c_str());
      return kExitUsage;
    }
    request.threshold = *mg;
  }
  if (paper && *paper != "A4" && *paper != "Letter") return UsageError(kUsage);
  if (paper && *paper == "Letter") request.paper = ReportPaper::Letter;

  if (!FileCanBeRead(request.file)) return kExitFailed;
  Dataset data;
  data.MenuCommandCode = MenuOperation::DataView;
  // The report takes its own statistics of the whole file.
  if (const OpenOutcome outcome = data.Open(request.file, Dataset::OpenScope::SamplesOnly); outcome != OpenResult::Ok) {
    StderrUi ui;
    ShowRefusal(ui, outcome);
    return kExitRefused;
  }
  const ReportContent report = MakeReport(data, request);
  if (const std::string error = WriteReportPdf(out, report); !error.empty()) {
    std::fprintf(stderr, "accelog-cli: %s\n", error.c_str());
    return kExitFailed;
  }
  std::printf("%s: %zu page%s, %d event%s at %.6g mg, %zu listed\n", out.c_str(), report.pages.size(),
              report.pages.size() == 1 ? "" : "s", report.event_count, report.event_count == 1 ? "" : "s",
              report.threshold, report.listed.size());
  return kExitOk;
}

}  // namespace accelog::cli
