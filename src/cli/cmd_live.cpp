// live and live-spectrum: the two live captures without a window and without
// Qt. The engines' timers run on a clock that follows the real one; SIGINT
// and SIGTERM are the second click of the menu item.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "cli/stop_signals.h"
#include "core/program_folder.h"
#include "core/ui_port.h"
#include "core/timer_loop.h"
#include "model/conversion.h"
#include "model/fft.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "device/device.h"
#include "model/machine_parameter.h"
#include "app/parameter_dialog.h"

namespace accelog::cli {
namespace {

class LiveUi : public UiPort {
 public:
  std::function<void()> on_set;
  Dataset* data = nullptr;  // the capture's points, while one runs

  void Message(const std::string& text, MessageIcon) override {
    EndCount();
    std::fprintf(stderr, "accelog-cli: %s\n", text.c_str());
  }
  // A question the command line answered beforehand, shown with its answer.
  bool Answer(const std::string& question, bool ok) {
    EndCount();
    std::fprintf(stderr, "accelog-cli: %s %s\n", question.c_str(), ok ? "OK" : "Cancel");
    return ok;
  }
  void StatusPanel(int panel, const std::string& text) override {
    std::string& last = panels_[panel];
    if (last == text || TrimmedEmpty(text)) return;
    last = text;
    EndCount();
    std::fprintf(stderr, "[%d] %s\n", panel, text.c_str());
  }
  void SetCaption(const std::string& text) override {
    if (text.empty()) return;
    EndCount();
    std::fprintf(stderr, "accelog-cli: %s\n", text.c_str());
  }
  // The file is written; there is no window to show it in.
  void ShowDataFile(const std::string&) override {}
  void ShowLivePoint() override {
    std::fprintf(stderr, tty_ ? "\rsamples: %d" : "samples: %d\n", data ? data->CountPoint : 0);
    std::fflush(stderr);
    counting_ = tty_;
  }
  void ShowLiveSet() override {
    if (on_set) on_set();
  }
  void EndCount() {
    if (counting_) std::fputc('\n', stderr);
    counting_ = false;
  }

 private:
  static bool TrimmedEmpty(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }
  std::map<int, std::string> panels_;
  const bool tty_ = isatty(fileno(stderr)) != 0;
  bool counting_ = false;
};

// Brings the link up on a device of its own and runs `start`, which starts a
// capture and hands back where its outcome will be; then runs the timers
// until the capture ends. A stop signal is the menu item's second click.
// Returns the exit code.
int RunCapture(const Args& args, LiveUi& ui, ParameterStore& parameters,
               const std::function<bool(Device&, std::optional<LiveOutcome>&)>& start,
               const std::function<void(Device&)>& stop) {
  int refused = kExitOk;
  auto transport = MakeCliTransport(args, refused);
  if (!transport) return refused;
  StopSignals stop_signals;
  int code = kExitFailed;
  Dataset data;
  ui.data = &data;
  {
    TimerLoop loop;
    // A stop signal is seen within 20 ms however long the sample period is.
    auto wake = loop.MakeTimer();
    wake->OnTick = [] {};
    wake->Start(20);
    Device device(std::move(transport), SteadyDeviceClock([&loop] { return loop.MakeTimer(); }), ui, data,
                  parameters.Values());
    device.StartScan();
    loop.Run([&] { return stop_signals.Requested() || device.Connected() || device.ConnectFailed(); });
    std::optional<LiveOutcome> outcome;
    if (device.Connected() && !stop_signals.Requested() && start(device, outcome)) {
      bool stop_sent = false;
      loop.Run([&] {
        if (stop_signals.Requested() && !stop_sent) {
          stop_sent = true;
          stop(device);
        }
        return outcome.has_value();
      });
      ui.EndCount();
      code = outcome == LiveOutcome::Stopped ? kExitOk : kExitFailed;
    }
  }
  return code;
}

bool NoOptionsLeft(Args& args, const char* usage, size_t min_words, size_t max_words) {
  if (auto bad = args.UnknownOption()) {
    std::fprintf(stderr, "accelog-cli: unknown option '%s'\n", bad->c_str());
  } else if (args.words.size() >= min_words && args.words.size() <= max_words) {
    return true;
  }
  std::fprintf(stderr, "usage: accelog-cli [--device usb|sim:SOCKET] %s\n", usage);
  return false;
}

bool Exists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::exists(name, ec);
}

// The overwrite question, answered by --overwrite, and the old file removed.
bool ReplaceAllowed(LiveUi& ui, const std::string& name, bool overwrite) {
  if (!Exists(name)) return true;
  if (!ui.Answer("The filename already exists ,overwrite it  ?", overwrite)) return false;
  std::error_code ec;
  if (std::filesystem::remove(name, ec)) return true;
  ui.Message("The capture file " + name + " could not be written: " + ec.message(), MessageIcon::Exclamation);
  return false;
}

}  // namespace

int RunLive(Args& args) {
  const char* usage =
      "live OUT.kvx [--overwrite] [--interval N] [--unit ms|s] [--limit N] [--limit-kind time|count]";
  LiveUi ui;
  const bool overwrite = args.TakeFlag("--overwrite");
  const auto interval = args.TakeValue("--interval");
  const auto unit = args.TakeValue("--unit");
  const auto limit = args.TakeValue("--limit");
  const auto kind = args.TakeValue("--limit-kind");
  if (!NoOptionsLeft(args, usage, 1, 1)) return kExitUsage;
  if ((unit && *unit != "ms" && *unit != "s") || (kind && *kind != "time" && *kind != "count")) {
    std::fprintf(stderr, "usage: accelog-cli [--device usb|sim:SOCKET] %s\n", usage);
    return kExitUsage;
  }
  // The form would keep the stored limit for a number out of range; the
  // keypad of the window never lets one through.
  if (limit) {
    const auto n = ParseInteger(*limit);
    if (!n || *n < 1 || *n > 32767) {
      std::fprintf(stderr, "accelog-cli: --limit wants a number from 1 to 32767, not '%s'\n", limit->c_str());
      return kExitUsage;
    }
  }

  if (interval && !ParseNumber(*interval)) {
    std::fprintf(stderr, "accelog-cli: --interval wants a number, not '%s'\n", interval->c_str());
    return kExitUsage;
  }

  // The real-time layout as it opens, with the fields given through its
  // keypad, judged by its OK rows.
  ParameterStore parameters(ProgramFolder());
  RecordingParameters& p = parameters.Values();
  parameters.LoadAtStartup();
  p.ParameterDialogMode = 1;
  ParameterForm form;
  OpenParameterForm(form, p, ReadClock());
  if (interval) form.Text[2] = *interval;
  if (unit) form.Option[1] = !(form.Option[2] = *unit == "s");
  if (interval || unit) {
    const std::string value = form.Text[2];
    if (const auto range = EnterBoxTextOnKeypad(ui, form, p, 2)) {
      std::fprintf(stderr, "accelog-cli: --interval %s: the keypad takes %d to %d with --unit %s\n", value.c_str(),
                   range->Minimum, range->Maximum, form.Option[2] ? "s" : "ms");
      return kExitRefused;
    }
  }
  if (limit) form.Text[19] = *limit;
  if (kind) form.Option[10] = !(form.Option[11] = *kind == "count");
  RecordingParameters checked = p;
  const int code = CheckParameterForm(ui, form, checked);
  if (code != 0) {
    ui.Message(ParameterErrorText(code, p.LanguageFlag), MessageIcon::Exclamation);
    return kExitRefused;
  }

  const std::string target = CleanFileName(args.words[0]) + ".kvx";
  if (Exists(target) && !overwrite) {
    std::fprintf(stderr, "accelog-cli: %s exists (use --overwrite)\n", target.c_str());
    return kExitFailed;
  }
  auto start = [&](Device& device, std::optional<LiveOutcome>& outcome) {
    device.ClearCaptionDiagnostic();
    // A file that stays would lend its old tail to the new capture.
    if (!ReplaceAllowed(ui, target, overwrite)) return false;
    // What the dialog's OK does with fields that passed: stored, then used.
    p = checked;
    p.ParameterDialogMode = 1;
    if (const SaveResult saved = parameters.SaveRecording(); !saved.Ok()) {
      ui.Message(ParameterSaveErrorText(saved.message, p.LanguageFlag), MessageIcon::Exclamation);
      p.ParameterDialogMode = 0;
      return false;
    }
    p.ParameterAccepted = false;
    device.StartLive(target, p, {[&](LiveOutcome o) { outcome = o; }});
    return true;
  };
  const int exit = RunCapture(args, ui, parameters, start, [](Device& device) { device.ToggleLiveCapture(); });
  if (exit == kExitOk) std::printf("%s\n", target.c_str());
  return exit;
}

namespace {

// A JSON value on one line with a blank after every ":" and "," between
// members, and arrays without blanks.
std::string OneLine(const nlohmann::ordered_json& v) {
  if (!v.is_object()) return v.dump();
  std::string line = "{";
  for (auto it = v.begin(); it != v.end(); ++it) {
    if (it != v.begin()) line += ", ";
    line += nlohmann::json(it.key()).dump() + ": " + OneLine(it.value());
  }
  return line + "}";
}

// One good set as a JSON line: the peak line of each axis and its 128
// magnitudes (the spectra are in PlotX..PlotZ of records 1..128).
void PrintSetJson(const Dataset& data, int set) {
  const std::vector<int32_t>* const fields[3] = {&data.Plot.X, &data.Plot.Y, &data.Plot.Z};
  const char* const names[3] = {"X", "Y", "Z"};
  nlohmann::ordered_json peaks = nlohmann::ordered_json::object(), magnitudes = nlohmann::ordered_json::object();
  for (int axis = 0; axis < 3; ++axis) {
    int peak = 1;
    std::vector<int32_t> line;
    for (int i = 1; i <= kSpectrumBins; ++i) {
      const int32_t v = (*fields[axis])[static_cast<size_t>(i)];
      if (v > (*fields[axis])[static_cast<size_t>(peak)]) peak = i;
      line.push_back(v);
    }
    peaks[names[axis]] = peak;
    magnitudes[names[axis]] = line;
  }
  const nlohmann::ordered_json out = {{"set", set}, {"peaks", peaks}, {"magnitudes", magnitudes}};
  std::printf("%s\n", OneLine(out).c_str());
  std::fflush(stdout);
}

}  // namespace

int RunLiveSpectrum(Args& args) {
  const char* usage = "live-spectrum [OUT] [--sets N] [--overwrite] [--json]";
  LiveUi ui;
  const bool overwrite = args.TakeFlag("--overwrite");
  const bool json = args.TakeFlag("--json");
  const auto sets = args.TakeValue("--sets");
  if (!NoOptionsLeft(args, usage, 0, 1)) return kExitUsage;
  long long limit = 0;
  if (sets) {
    const auto n = ParseInteger(*sets);
    if (!n || *n < 1) {
      std::fprintf(stderr, "accelog-cli: --sets wants a number of sets above 0, not '%s'\n", sets->c_str());
      return kExitUsage;
    }
    limit = *n;
  }
  ParameterStore parameters(ProgramFolder());
  parameters.LoadAtStartup();

  // With OUT the question is answered OK and OUT is the chosen name; without
  // it, Cancel: the fixed file in the data folder.
  std::string target;
  const bool save = args.words.size() == 1;
  if (save) {
    target = SpectrumFileName(CleanFileName(args.words[0]) + ".kvx");
    if (Exists(target) && !overwrite) {
      std::fprintf(stderr, "accelog-cli: %s exists (use --overwrite)\n", target.c_str());
      return kExitFailed;
    }
  } else {
    target = ProgramFile(kSpectrumCancelName);
  }
  int shown = 0;
  Device* running = nullptr;
  ui.on_set = [&] {
    ++shown;
    ui.data->FrequencySpectra();
    if (json) PrintSetJson(*ui.data, shown);
    std::fprintf(stderr, "sets: %d\n", shown);
    if (limit > 0 && shown >= limit && running) running->RequestSpectrumStop();
  };
  auto start = [&](Device& device, std::optional<LiveOutcome>& outcome) {
    running = &device;
    // The question is answered OK with OUT, Cancel without it.
    if (ui.Answer("Do you want to save FFT Data  ?", save)) {
      if (TrimBlanks(args.words[0]).empty()) return false;
      if (!ReplaceAllowed(ui, target, overwrite)) return false;
      ui.Message("File name is  " + target, MessageIcon::None);
    }
    device.StartLiveSpectrum(target, {[&](LiveOutcome o) { outcome = o; }});
    return true;
  };
  const int exit = RunCapture(args, ui, parameters, start, [](Device& device) { device.ToggleLiveSpectrum(); });
  if (exit == kExitOk && !json) std::printf("%s\n", target.c_str());
  return exit;
}

}  // namespace accelog::cli
