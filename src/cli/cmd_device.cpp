// scan, download and set-params: the device engines on a timer loop, with
// the status panels and the progress bar printed on stderr.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli/stop_signals.h"
#include "core/program_folder.h"
#include "core/timer_loop.h"
#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/dataset.h"
#include "model/utils.h"
#include "device/device.h"
#include "model/machine_parameter.h"
#include "app/parameter_dialog.h"
#include "app/parameter_entries.h"

namespace accelog::cli {
namespace {

class DeviceUi : public UiPort {
 public:
  void Message(const std::string& text, MessageIcon) override {
    EndBar();
    std::fprintf(stderr, "accelog-cli: %s\n", text.c_str());
    DrawBar();
  }
  // A question the command line answered beforehand, shown with its answer.
  bool Answer(const std::string& question, bool ok) {
    EndBar();
    std::fprintf(stderr, "accelog-cli: %s %s\n", question.c_str(), ok ? "OK" : "Cancel");
    return ok;
  }
  void StatusPanel(int panel, const std::string& text) override {
    std::string& last = panels_[panel];
    if (last == text) return;
    last = text;
    if (panel == 4) return;  // the block counter is the progress bar's
    EndBar();
    std::fprintf(stderr, "[%d] %s\n", panel, text.c_str());
    DrawBar();
  }
  void ProgressShow(int minimum, int maximum) override {
    bar_min_ = minimum;
    bar_max_ = maximum;
    bar_value_ = minimum;
    bar_shown_ = true;
    DrawBar();
  }
  void ProgressValue(int value) override {
    bar_value_ = value;
    DrawBar();
  }
  void ProgressHide() override {
    EndBar();
    bar_shown_ = false;
  }
  // The file is written; there is no window to show it in.
  void ShowDataFile(const std::string&) override {}

 private:
  void DrawBar() {
    if (!bar_shown_) return;
    constexpr int kWidth = 40;
    const int span = std::max(1, bar_max_ - bar_min_);
    const int done = std::clamp((bar_value_ - bar_min_) * kWidth / span, 0, kWidth);
    // Into a log, one line per step of the bar rather than one per block.
    if (!tty_ && bar_drawn_ && done == last_done_) return;
    last_done_ = done;
    if (!tty_ && bar_drawn_) std::fputc('\n', stderr);
    std::fprintf(stderr, "\r[%s%s] %d/%d", std::string(static_cast<size_t>(done), '#').c_str(),
                 std::string(static_cast<size_t>(kWidth - done), '.').c_str(), bar_value_, bar_max_);
    std::fflush(stderr);
    bar_drawn_ = true;
  }
  void EndBar() {
    if (bar_drawn_) std::fputc('\n', stderr);
    bar_drawn_ = false;
  }

  std::map<int, std::string> panels_;
  const bool tty_ = isatty(fileno(stderr)) != 0;
  bool bar_shown_ = false, bar_drawn_ = false;
  int last_done_ = -1;
  int bar_min_ = 0, bar_max_ = 0, bar_value_ = 0;
};

// Brings the link up on a device of its own, then runs `work` with it and
// the loop that drives its timers; kExitFailed when the link did not come up
// or `stop` (when given) saw a stop signal first.
int RunOnLink(const Args& args, DeviceUi& ui, ParameterStore& parameters, StopSignals* stop,
              const std::function<int(Device&, TimerLoop&)>& work) {
  const auto stopped = [stop] { return stop && stop->Requested(); };
  int refused = kExitOk;
  auto transport = MakeCliTransport(args, refused);
  if (!transport) return refused;
  parameters.LoadAtStartup();
  TimerLoop loop;
  Dataset data;
  int code = kExitFailed;
  {
    Device device(std::move(transport), SteadyDeviceClock([&loop] { return loop.MakeTimer(); }), ui, data,
                  parameters.Values());
    device.StartScan();
    loop.Run([&] { return stopped() || device.Connected() || device.ConnectFailed(); });
    if (device.Connected() && !stopped()) code = work(device, loop);
  }
  return code;
}

// What a keypad range depends on, for its explanation.
std::string KeypadCondition(const ParameterForm& form, int box) {
  static const char* const kUnits[4] = {"ms", "s", "min", "h"};
  int unit = 0;
  while (unit < 3 && !form.Option[static_cast<size_t>(unit + 1)]) ++unit;
  if (box == 2) return std::string(" with --unit ") + kUnits[unit];
  if (box == 19) return " with --interval " + form.Text[2] + " --unit " + kUnits[unit];
  if (box == 13) return " (years 2013 to 2030)";
  return {};
}

bool NoOptionsLeft(Args& args, const char* usage, size_t words) {
  if (auto bad = args.UnknownOption()) {
    std::fprintf(stderr, "accelog-cli: unknown option '%s'\n", bad->c_str());
  } else if (args.words.size() == words) {
    return true;
  }
  std::fprintf(stderr, "usage: accelog-cli [--device usb|sim:SOCKET] [--trace FILE] %s\n", usage);
  return false;
}

}  // namespace

int RunScan(Args& args) {
  if (!NoOptionsLeft(args, "scan", 0)) return kExitUsage;
  DeviceUi ui;
  ParameterStore parameters(ProgramFolder());
  return RunOnLink(args, ui, parameters, nullptr, [](Device& device, TimerLoop&) {
    std::printf("%s\n", device.DeviceIdText().c_str());
    std::fflush(stdout);
    return kExitOk;
  });
}

namespace {

// The exit code of a finished download; the file's name on stdout when it is whole.
int DownloadExitCode(const DownloadResult& result) {
  switch (result.outcome) {
    case DownloadOutcome::Ended:
      std::printf("%s\n", result.file.c_str());
      return kExitOk;
    // Only a logger that answered with fewer than 8 samples has no data.
    case DownloadOutcome::NoData: return kExitRefused;
    case DownloadOutcome::Declined:
      std::fprintf(stderr, "accelog-cli: nothing downloaded (use --force)\n");
      return kExitFailed;
    default: return kExitFailed;
  }
}

}  // namespace

int RunDownload(Args& args) {
  const char* usage = "download OUT.kvx [--overwrite] [--force]";
  DeviceUi ui;
  const bool overwrite = args.TakeFlag("--overwrite");
  const bool force = args.TakeFlag("--force");  // a count too large to open is downloaded anyway
  if (!NoOptionsLeft(args, usage, 1)) return kExitUsage;
  // The name the engine will write: the extension becomes .kvx. It is
  // judged before any device work.
  const std::string target = CleanFileName(args.words[0]) + ".kvx";
  if (const std::string problem = DownloadTargetProblem(target); !problem.empty()) {
    std::fprintf(stderr, "accelog-cli: %s: %s\n", target.c_str(), problem.c_str());
    return kExitFailed;
  }
  std::error_code ec;
  if (std::filesystem::exists(target, ec) && !overwrite) {
    std::fprintf(stderr, "accelog-cli: %s exists (use --overwrite)\n", target.c_str());
    return kExitFailed;
  }
  StopSignals stop;
  ParameterStore parameters(ProgramFolder());
  return RunOnLink(args, ui, parameters, &stop, [&](Device& device, TimerLoop& loop) {
    // The checks again, now that the link is up: the folder may have changed.
    if (const std::string problem = DownloadTargetProblem(target); !problem.empty()) {
      ui.Message(target + ": " + problem, MessageIcon::Exclamation);
      return kExitFailed;
    }
    if (std::filesystem::exists(target, ec)) {
      if (!ui.Answer("The filename already exists ,overwrite it  ?", overwrite)) return kExitFailed;
      if (!std::filesystem::remove(target, ec)) {
        ui.Message(target + ": cannot be replaced: " + ec.message(), MessageIcon::Exclamation);
        return kExitFailed;
      }
    }
    std::optional<DownloadResult> result;
    DownloadOptions options;
    options.confirm_large_count = [&](const std::string& question) { return ui.Answer(question, force); };
    options.finished = [&](const DownloadResult& r) { result = r; };
    device.Download(target, std::move(options));
    loop.Run([&] { return result || stop.Requested(); });
    if (!result) device.StopDownload();
    const int code = result ? DownloadExitCode(*result) : kExitFailed;
    return stop.Requested() && code == kExitOk ? kExitFailed : code;
  });
}

int RunSetParams(Args& args) {
  const char* usage =
      "set-params [--port N] [--interval N] [--unit ms|s|min|h] [--led N] [--critical X,Y,Z]\n"
      "         [--record-mode normal|critical] [--work-mode manual|auto|timing]\n"
      "         [--clock \"YYYY-MM-DD hh:mm:ss\"] [--start \"YYYY-MM-DD hh:mm:ss\"] [--limit N]";
  ParameterEntries entries;
  entries.Port = args.TakeValue("--port");
  entries.Interval = args.TakeValue("--interval");
  entries.Unit = args.TakeValue("--unit");
  entries.Led = args.TakeValue("--led");
  entries.Critical = args.TakeValue("--critical");
  entries.RecordMode = args.TakeValue("--record-mode");
  entries.WorkMode = args.TakeValue("--work-mode");
  entries.Clock = args.TakeValue("--clock");
  entries.Start = args.TakeValue("--start");
  entries.Limit = args.TakeValue("--limit");
  if (!NoOptionsLeft(args, usage, 0)) return kExitUsage;
  std::vector<std::pair<const char*, std::string>> numbers;
  for (auto [name, value] : {std::pair{"--port", &entries.Port}, {"--interval", &entries.Interval},
                             {"--led", &entries.Led}, {"--limit", &entries.Limit}}) {
    if (*value) numbers.emplace_back(name, **value);
  }
  if (entries.Critical) {
    std::string rest = *entries.Critical + ",";
    for (size_t comma; (comma = rest.find(',')) != std::string::npos; rest.erase(0, comma + 1)) {
      numbers.emplace_back("--critical", rest.substr(0, comma));
    }
  }
  for (const auto& [name, text] : numbers) {
    if (!ParseNumber(text)) {
      std::fprintf(stderr, "accelog-cli: %s wants a number, not '%s'\n", name, text.c_str());
      std::fprintf(stderr, "usage: accelog-cli [--device usb|sim:SOCKET] %s\n", usage);
      return kExitUsage;
    }
  }

  // The dialog's OK rows judge the entries before any device work, on a
  // copy: a refused entry sends nothing and writes nothing. Each value given
  // goes through its box's keypad first, as in the window.
  DeviceUi ui;
  ParameterStore parameters(ProgramFolder());
  RecordingParameters& p = parameters.Values();
  parameters.LoadAtStartup();
  ParameterForm form;
  std::string error;
  if (!FillFormFromEntries(entries, p, ReadClock(), form, error)) {
    std::fprintf(stderr, "accelog-cli: %s\n", error.c_str());
    return kExitUsage;
  }
  const struct {
    bool given;
    const char* option;
    int box;
  } keypad_boxes[] = {
      {entries.Interval || entries.Unit, "--interval", 2}, {bool(entries.Led), "--led", 3},
      {bool(entries.Critical), "--critical X", 4},         {bool(entries.Critical), "--critical Y", 5},
      {bool(entries.Critical), "--critical Z", 6},         {bool(entries.Start), "--start year", 13},
      {bool(entries.Start), "--start month", 14},         {bool(entries.Start), "--start day", 15},
      {bool(entries.Start), "--start hour", 16},          {bool(entries.Start), "--start minute", 17},
      {bool(entries.Start), "--start second", 18},        {bool(entries.Limit), "--limit", 19},
  };
  for (const auto& k : keypad_boxes) {
    if (!k.given) continue;
    const std::string value = form.Text[static_cast<size_t>(k.box)];
    if (const auto range = EnterBoxTextOnKeypad(ui, form, p, k.box)) {
      std::fprintf(stderr, "accelog-cli: %s %s: the keypad takes %d to %d%s\n", k.option, value.c_str(),
                   range->Minimum, range->Maximum, KeypadCondition(form, k.box).c_str());
      return kExitRefused;
    }
  }
  RecordingParameters checked = p;
  const int code = CheckParameterForm(ui, form, checked);
  if (code != 0) {
    const int16_t language = p.LanguageFlag;
    ui.Message(ParameterErrorText(code, language), MessageIcon::Exclamation);
    ui.Message(ParameterErrorExplanation(code, language), MessageIcon::Exclamation);
    return kExitRefused;
  }
  return RunOnLink(args, ui, parameters, nullptr, [&](Device& device, TimerLoop& loop) {
    // What the dialog's OK does with entries that passed: stored, then sent.
    p.ParameterAccepted = false;
    p = checked;
    p.ParameterDialogMode = 0;
    if (const SaveResult saved = parameters.SaveRecording(); !saved.Ok()) {
      ui.Message(ParameterSaveErrorText(saved.message, p.LanguageFlag), MessageIcon::Exclamation);
      return kExitFailed;
    }
    p.ParameterAccepted = false;
    std::optional<bool> taken;
    device.SendParameters(p, [&](bool ok) { taken = ok; });
    loop.Run([&] { return taken || !device.link.LinkConfirmed; });
    return taken && *taken && device.link.LinkConfirmed ? kExitOk : kExitFailed;
  });
}

}  // namespace accelog::cli
