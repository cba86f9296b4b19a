// render: the chart window of a .kvx file, drawn offscreen into a PNG, so the
// chart can be looked at without the main window.
#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <memory>
#include <string>

#include "app/chart.h"
#include "ui/form_picture.h"
#include "app/file_menu.h"
#include "cli/cli.h"
#include "ui/qt_staged_file.h"
#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/dataset.h"

namespace accelog::cli {
namespace {

constexpr const char* kUsage =
    "render FILE.kvx OUT.png [--start N] [--end M] [--all-curves] [--cursor COLUMN] [--scale F] "
    "[--spectrum] [--window none|hann] [--remove-mean] [--hz]";

std::optional<long long> TakeNumber(Args& args, const char* name, bool& bad) {
  auto v = args.TakeValue(name);
  if (!v) return std::nullopt;
  auto n = ParseInteger(*v);
  if (!n) bad = true;
  return n;
}

// The shown window as a zoom would leave it.
void ShowWindow(Chart& chart, int32_t start, int32_t end) {
  Dataset& data = chart.Data();
  data.DispStartPoint = start;
  data.DispEndPoint = end;
  chart.PlaceScrollMarkers();
  data.MapRangeToSlots(start, end);
  chart.HideLockMarkers();
  chart.Draw(start, end);
}

// Written beside `out` and checked to its end before it takes the name.
std::string SavePng(const QImage& image, const std::string& out) {
  return WriteStagedQtFile(out, [&](QIODevice& file) {
    QImageWriter writer(&file, "png");
    return writer.write(image) ? QString() : writer.errorString();
  }, PngWhole);
}

}  // namespace

int RunRender(Args& args) {
  bool bad = false;
  const auto start = TakeNumber(args, "--start", bad);
  const auto end = TakeNumber(args, "--end", bad);
  const auto cursor = TakeNumber(args, "--cursor", bad);
  const auto scale_text = args.TakeValue("--scale");
  const bool all_curves = args.TakeFlag("--all-curves");
  const bool spectrum = args.TakeFlag("--spectrum");
  const auto fft_window = args.TakeValue("--window");
  const bool remove_mean = args.TakeFlag("--remove-mean");
  const bool hz = args.TakeFlag("--hz");
  if (bad || args.UnknownOption() || args.words.size() != 2) return UsageError(kUsage);
  // The spectrum view has no vector sum or angle curves; a window and the
  // spectrum options need spectra.
  if (spectrum && all_curves) return UsageError(kUsage);
  if ((remove_mean || hz) && !spectrum) return UsageError(kUsage);
  if (fft_window && (!spectrum || (*fft_window != "none" && *fft_window != "hann"))) return UsageError(kUsage);
  double scale = 1.0;
  if (scale_text) {
    const auto f = ParseNumber(*scale_text);
    if (!f || !(*f >= 0.5 && *f <= 4.0)) return UsageError(kUsage);
    scale = *f;
  }
  const std::string file = args.words[0];
  const std::string out = args.words[1];

  Dataset data;
  StderrUi ui;

  if (!FileCanBeRead(file)) return kExitFailed;
  const auto chart = std::make_unique<Chart>(data);
  FormPicture window(*chart);
  if (spectrum) {
    if (fft_window && *fft_window == "hann") chart->SetHannWindow(1);
    chart->SetRemoveMean(remove_mean ? 1 : 0);
    chart->SetFrequencyInHz(hz ? 1 : 0);
    const FrequencyFileOutcome outcome = chart->OpenFrequencyFile(file);
    ShowRefusal(ui, outcome);
    if (outcome != FrequencyFileResult::Ok) return kExitRefused;
  } else if (const OpenOutcome outcome = chart->OpenDataFile(file); outcome != OpenResult::Ok) {
    ShowRefusal(ui, outcome);
    return kExitRefused;
  }

  if (all_curves) {
    for (int k = 0; k < kCurves; ++k) {
      chart->state.CurveShown[k] = 1;
      chart->scene.CheckBox[k + 1].Value = 1;
    }
    chart->Draw(data.DispStartPoint, data.DispEndPoint);
  }
  if (start || end) {
    long long s = start.value_or(1), e = end.value_or(data.CountPoint);
    if (s < 1) s = 1;
    if (e > data.CountPoint) e = data.CountPoint;
    if (s > e) {
      std::fprintf(stderr, "accelog-cli: --start must not lie after --end (file has %d points)\n",
                   data.CountPoint);
      return kExitUsage;
    }
    ShowWindow(*chart, static_cast<int32_t>(s), static_cast<int32_t>(e));
  }
  if (cursor) {
    const long long c = *cursor < 1 ? 1 : (*cursor > kColumns ? kColumns : *cursor);
    // The plot reads column Int(x / column width): the middle of column c.
    const double width = 50.0 * static_cast<double>(chart->state.TwipsPerUnitX);
    chart->PlotMouseMove(static_cast<float>((static_cast<double>(c) + 0.5) * width), 2000.0f);
  }
  window.SyncFromScene();
  window.show();
  QApplication::processEvents();

  QImage image(window.size() * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::white);
  window.render(&image);
  if (const std::string error = SavePng(image, out); !error.empty()) {
    std::fprintf(stderr, "accelog-cli: %s\n", error.c_str());
    return kExitFailed;
  }
  std::printf("%s: %d x %d pixels, points %d..%d of %d\n", out.c_str(), image.width(), image.height(),
              data.DispStartPoint, data.DispEndPoint, data.CountPoint);
  if (cursor) std::printf("%s\n", chart->scene.ReadOut.Caption.c_str());
  return kExitOk;
}

}  // namespace accelog::cli
