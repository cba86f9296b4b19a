// info, points and slots: what opening a .kvx file computes, without a window.
#include <cstdio>
#include <string>

#include "app/file_menu.h"
#include "cli/cli.h"
#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/dataset.h"
#include "model/text_util.h"

namespace accelog::cli {
namespace {

struct Window {
  int32_t from, to;
};

// Opens FILE as the acceleration view does. On failure returns the exit code.
int OpenFile(Dataset& data, Args& args, const char* usage, std::string& file) {
  if (auto bad = args.UnknownOption()) {
    std::fprintf(stderr, "accelog-cli: unknown option '%s'\n", bad->c_str());
    return UsageError(usage);
  }
  if (args.words.size() != 1) return UsageError(usage);
  file = args.words[0];
  return OpenKvxFile(data, file);
}

// --from/--to, defaulting to the whole file and kept inside it.
bool TakeWindow(Args& args, Window& w) {
  w = {1, 0};
  for (auto [name, target] : {std::pair{"--from", &w.from}, std::pair{"--to", &w.to}}) {
    if (auto v = args.TakeValue(name)) {
      auto n = ParseInteger(*v);
      if (!n) return false;
      *target = static_cast<int32_t>(std::max<long long>(-1, std::min<long long>(*n, kMaxRecords)));
    } else if (target == &w.to) {
      w.to = -1;  // the end of the file
    }
  }
  return true;
}

void ClampWindow(const Dataset& data, Window& w) {
  if (w.to < 0 || w.to > data.CountPoint) w.to = data.CountPoint;
  if (w.from < 1) w.from = 1;
}

const char* const kChannelNames[kChannels] = {"X", "Y", "Z", "V", "AX", "AY", "AZ"};

struct Field {
  const char* name;
  long long value;
};

std::vector<Field> HeadFields(const Dataset& data) {
  const FileHeadRecord& p = data.Head;
  // The interval as the statistics text shows it: the head's two bytes unsigned.
  return {{"RecordInterval", static_cast<uint16_t>(p.RecordInterval)}, {"IntervalUnit", p.IntervalUnit},
          {"LedCycle", p.LedCycle},             {"CriticalX", p.CriticalX},
          {"CriticalY", p.CriticalY},           {"CriticalZ", p.CriticalZ},
          {"RecordMode", p.RecordMode},         {"WorkMode", p.WorkMode},
          {"DeviceSampleCount", data.DeviceSampleCount},
          {"StartYear", p.StartYear},           {"StartMonth", p.StartMonth},
          {"StartDay", p.StartDay},             {"StartHour", p.StartHour},
          {"StartMinute", p.StartMinute},       {"StartSecond", p.StartSecond},
          {"CountPoint", data.CountPoint},      {"CountPointNoZero", data.CountPointNoZero}};
}

void PrintJson(const Dataset& data, const StatisticsTexts& t) {
  JsonNumbers numbers;
  nlohmann::ordered_json out;
  for (const auto& f : HeadFields(data)) out[f.name] = f.value;
  out["Incomplete"] = !IncompleteFileText(data.CountPoint, data.DeviceSampleCount).empty();
  auto& stats = out["stats"] = nlohmann::ordered_json::object();
  for (int c = 0; c < kChannels; ++c) {
    stats[kChannelNames[c]] = {{"max", numbers.Number(ExactFloatText(data.Stats.StatMaxValue[c]))},
                               {"maxPoint", data.Stats.StatMaxPoint[c]},
                               {"min", numbers.Number(ExactFloatText(data.Stats.StatMinValue[c]))},
                               {"minPoint", data.Stats.StatMinPoint[c]},
                               {"average", numbers.Number(ExactFloatText(data.Stats.StatAverage[c]))}};
  }
  auto& texts = out["texts"];
  for (const auto& [kind, column] : {std::pair{"max", &t.MaxText}, std::pair{"min", &t.MinText},
                                     std::pair{"average", &t.AverageText}}) {
    auto& row = texts[kind] = nlohmann::ordered_json::object();
    for (int c = 0; c < 4; ++c) row[kChannelNames[c]] = (*column)[c];
  }
  texts["critical"] = {{"X", t.CriticalText[0]}, {"Y", t.CriticalText[1]}, {"Z", t.CriticalText[2]}};
  texts["unit"] = t.UnitText;
  texts["start"] = t.StartText;
  texts["interval"] = t.IntervalText;
  texts["sampleCount"] = t.SampleCountText;
  texts["recordMode"] = t.RecordModeText;
  std::printf("%s\n", numbers.Dump(out).c_str());
}

void PrintText(const Dataset& data, const StatisticsTexts& t) {
  for (const auto& f : HeadFields(data)) std::printf("%-18s %lld\n", f.name, f.value);
  const std::string incomplete = IncompleteFileText(data.CountPoint, data.DeviceSampleCount);
  if (!incomplete.empty()) std::printf("%-18s %s\n", "Incomplete", incomplete.c_str());
  std::printf("\n%-3s %12s %9s %12s %9s %12s\n", "", "max", "maxPoint", "min", "minPoint", "average");
  for (int c = 0; c < kChannels; ++c) {
    std::printf("%-3s %12s %9d %12s %9d %12s\n", kChannelNames[c],
                ExactFloatText(data.Stats.StatMaxValue[c]).c_str(), data.Stats.StatMaxPoint[c],
                ExactFloatText(data.Stats.StatMinValue[c]).c_str(), data.Stats.StatMinPoint[c],
                ExactFloatText(data.Stats.StatAverage[c]).c_str());
  }
  std::printf("\n");
  for (int c = 0; c < 4; ++c) {
    std::printf("%s max: %s | min: %s | average: %s\n", kChannelNames[c], t.MaxText[c].c_str(),
                t.MinText[c].c_str(), t.AverageText[c].c_str());
  }
  std::printf("Critical: %s %s %s %s\n", t.CriticalText[0].c_str(), t.CriticalText[1].c_str(),
              t.CriticalText[2].c_str(), t.UnitText.c_str());
  std::printf("Start: %s\nInterval: %s\nSamples: %s\nRecord mode: %s\n", t.StartText.c_str(),
              t.IntervalText.c_str(), t.SampleCountText.c_str(), t.RecordModeText.c_str());
}

}  // namespace

nlohmann::ordered_json JsonNumbers::Number(const std::string& text) {
  if (!text.empty() && text.find_first_not_of("-0123456789") == std::string::npos && text != "-0") {
    if (auto n = ParseInteger(text)) return *n;
  }
  if (auto v = ParseNumber(text)) {
    if (nlohmann::ordered_json(*v).dump() == text) return *v;
  }
  kept_.push_back(text);
  return "\x01" + std::to_string(kept_.size() - 1);
}

std::string JsonNumbers::Dump(const nlohmann::ordered_json& document) const {
  const std::string text = document.dump();
  if (kept_.empty()) return text;
  // One pass: a long document may hold many placeholders.
  const std::string mark = "\"\\u0001";
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, from)) {
    const size_t close = text.find('"', at + mark.size());
    const auto index = ParseInteger(text.substr(at + mark.size(), close - at - mark.size()));
    out.append(text, from, at - from);
    if (index && *index >= 0 && static_cast<size_t>(*index) < kept_.size()) {
      out += kept_[static_cast<size_t>(*index)];
    } else {
      out.append(text, at, close + 1 - at);
    }
    from = close + 1;
  }
  out.append(text, from);
  return out;
}

int OpenKvxFile(Dataset& data, const std::string& file, Dataset::OpenScope scope) {
  if (!FileCanBeRead(file)) return kExitFailed;
  data.MenuCommandCode = MenuOperation::DataView;
  const OpenOutcome outcome = data.Open(file, scope);
  StderrUi ui;
  ShowRefusal(ui, outcome);
  return outcome == OpenResult::Ok ? kExitOk : kExitRefused;
}

int RunInfo(Args& args) {
  Dataset data;
  const bool json = args.TakeFlag("--json");
  std::string file;
  if (int rc = OpenFile(data, args, "info FILE.kvx [--json]", file)) return rc;
  const StatisticsTexts t = data.StatisticsBoxTexts();
  json ? PrintJson(data, t) : PrintText(data, t);
  return kExitOk;
}

int RunPoints(Args& args) {
  Dataset data;
  const char* usage = "points FILE.kvx [--from N] [--to M]";
  Window w;
  if (!TakeWindow(args, w)) return UsageError(usage);
  std::string file;
  if (int rc = OpenFile(data, args, usage, file)) return rc;
  ClampWindow(data, w);
  std::string line;
  for (int32_t i = w.from; i <= w.to; ++i) {
    const RealDataRecord& r = data.RealData[i];
    line = std::to_string(r.No);
    line += ',';
    line += r.Date();
    line += ',';
    line += r.Time();
    for (float v : {r.X, r.Y, r.Z, r.V, r.AX, r.AY, r.AZ}) {
      line += ',';
      line += ExactFloatText(v);
    }
    line += '\n';
    std::fputs(line.c_str(), stdout);
  }
  return kExitOk;
}

int RunSlots(Args& args) {
  Dataset data;
  const char* usage = "slots FILE.kvx [--from N] [--to M]";
  Window w;
  if (!TakeWindow(args, w)) return UsageError(usage);
  std::string file;
  if (int rc = OpenFile(data, args, usage, file)) return rc;
  ClampWindow(data, w);
  data.MapRangeToSlots(w.from, w.to);
  for (int k = 1; k <= kSlots; ++k) std::printf("%d,%d,%d\n", k, data.SlotUsed[k], data.SlotPoint[k]);
  return kExitOk;
}

}  // namespace accelog::cli
