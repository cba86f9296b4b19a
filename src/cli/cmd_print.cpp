// print: the chart window of a .kvx file, drawn offscreen and laid on a PDF
// page the way the preview's "Print" lays it, from the stored page set-up
// where an option does not say otherwise.
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/chart.h"
#include "ui/form_picture.h"
#include "app/file_menu.h"
#include "cli/cli.h"
#include "core/program_folder.h"
#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/dataset.h"
#include "model/machine_parameter.h"
#include "app/page_setup.h"
#include "app/print_layout.h"
#include "ui/print_page.h"

namespace accelog::cli {
namespace {

constexpr const char* kUsage =
    "print FILE.kvx OUT.pdf [--start N] [--end M] [--paper A4|A3|Letter|Legal|Tabloid|WxH]\n"
    "         [--portrait|--landscape] [--margins L,R,T,D] [--scale F]";

// Whole numbers separated by `sep`, exactly `count` of them.
bool SplitNumbers(const std::string& text, char sep, size_t count, int16_t* out) {
  std::stringstream in(text);
  std::string part;
  size_t n = 0;
  while (std::getline(in, part, sep)) {
    const auto v = ParseInteger(part);
    if (n == count || !v || *v < 0 || *v > 32767) return false;
    out[n++] = static_cast<int16_t>(*v);
  }
  return n == count;
}

bool ApplyPaper(RecordingParameters& m, const std::string& paper) {
  const char* const kNames[6] = {"A4", "A3", "", "Letter", "Legal", "Tabloid"};
  for (int k = 0; k < 6; ++k) {
    if (k != 2 && paper == kNames[k]) {
      m.PaperKind = static_cast<int16_t>(k);
      return PaperSizeOf(k, m.PaperWidth, m.PaperHeight);
    }
  }
  int16_t wh[2];
  if (!SplitNumbers(paper, 'x', 2, wh) || wh[0] < 1 || wh[1] < 1) return false;
  m.PaperKind = 2;
  m.PaperWidth = wh[0];
  m.PaperHeight = wh[1];
  return true;
}

}  // namespace

int RunPrint(Args& args) {
  bool bad = false;
  auto number = [&](const char* name) -> std::optional<long long> {
    auto v = args.TakeValue(name);
    if (!v) return std::nullopt;
    auto n = ParseInteger(*v);
    if (!n) bad = true;
    return n;
  };
  const auto start = number("--start");
  const auto end = number("--end");
  const auto paper = args.TakeValue("--paper");
  const auto margins = args.TakeValue("--margins");
  const auto scale = args.TakeValue("--scale");
  const bool portrait = args.TakeFlag("--portrait");
  const bool landscape = args.TakeFlag("--landscape");
  if (bad || (portrait && landscape) || args.UnknownOption() || args.words.size() != 2) return UsageError(kUsage);
  const std::string file = args.words[0];
  const std::string out = args.words[1];

  // The stored page set-up, without creating the file when there is none.
  ParameterStore parameters(ProgramFolder());
  auto& m = parameters.Values();
  ApplyDefaults(m);
  if (std::filesystem::exists(ProgramFile(kIntegerFileName))) {
    const std::vector<int> refused = parameters.ReadRecords();
    static const char* const kNames[9] = {"PaperKind",  "PaperDirection", "MarginLeft",
                                          "MarginRight", "MarginTop",      "MarginDown",
                                          "PaperWidth",  "PaperHeight",    "PictureScalePercent"};
    std::string page;
    for (int rec : refused) {
      if (rec >= 31 && rec <= 39) page += (page.empty() ? "" : ", ") + std::string(kNames[rec - 31]);
    }
    if (!page.empty()) {
      std::fprintf(stderr, "accelog-cli: %s: the page set-up dialog refuses the stored %s; the default is used\n",
                   ProgramFile(kIntegerFileName).c_str(), page.c_str());
    }
  }
  if (paper && !ApplyPaper(m, *paper)) return UsageError(kUsage);
  if (portrait || landscape) m.PaperDirection = landscape ? 1 : 0;
  if (margins) {
    int16_t v[4];
    if (!SplitNumbers(*margins, ',', 4, v)) return UsageError(kUsage);
    m.MarginLeft = v[0], m.MarginRight = v[1], m.MarginTop = v[2], m.MarginDown = v[3];
  }
  if (scale) {
    const auto f = ParseNumber(*scale);
    if (!f || !PictureScaleAccepted(*f)) {
      std::fprintf(stderr, "accelog-cli: --scale wants a picture scale from 0.01 to 10, not '%s'\n", scale->c_str());
      return kExitUsage;
    }
    m.PictureScale = static_cast<float>(*f);
  }

  Dataset data;
  StderrUi ui;

  if (!FileCanBeRead(file)) return kExitFailed;
  const auto chart = std::make_unique<Chart>(data);
  FormPicture window(*chart);
  if (const OpenOutcome outcome = chart->OpenDataFile(file); outcome != OpenResult::Ok) {
    ShowRefusal(ui, outcome);
    return kExitRefused;
  }
  if (start || end) {
    long long s = std::max(start.value_or(1), 1LL), e = std::min<long long>(end.value_or(data.CountPoint), data.CountPoint);
    if (s > e) {
      std::fprintf(stderr, "accelog-cli: --start must not lie after --end (file has %d points)\n", data.CountPoint);
      return kExitUsage;
    }
    data.DispStartPoint = static_cast<int32_t>(s);
    data.DispEndPoint = static_cast<int32_t>(e);
    chart->PlaceScrollMarkers();
    data.MapRangeToSlots(data.DispStartPoint, data.DispEndPoint);
    chart->HideLockMarkers();
    chart->Draw(data.DispStartPoint, data.DispEndPoint);
  }
  window.SyncFromScene();
  window.show();
  QApplication::processEvents();

  // The chart window stands for the main window: the capture starts at its corner.
  const QImage capture = window.grab().toImage();
  PrintJob job;
  job.Parameters = &parameters;
  MeasureCapture(job, capture);
  LocateChartInCapture(job, chart->scene, 0, 0);
  LayOutPreview(job, 19000, 11800);

  if (const std::string error = PrintCutOutToPdf(out, job, capture); !error.empty()) {
    std::fprintf(stderr, "accelog-cli: %s\n", error.c_str());
    return kExitFailed;
  }
  const PageTwips page = PageSizeTwips(m.PaperWidth, m.PaperHeight, m.PaperDirection);
  const TwipRect at = PrintedPicture(job);
  std::printf("%s: page %.0f x %.0f mm, chart %.1f x %.1f mm at %d,%d mm, points %d..%d of %d\n", out.c_str(),
              page.Width / kTwipsPerMm, page.Height / kTwipsPerMm, at.Width / kTwipsPerMm, at.Height / kTwipsPerMm,
              m.MarginLeft, m.MarginTop, data.DispStartPoint, data.DispEndPoint, data.CountPoint);
  return kExitOk;
}

}  // namespace accelog::cli
