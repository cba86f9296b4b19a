// events: runs of points where a channel strays a threshold from its baseline.
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "cli/cli.h"
#include "model/dataset.h"
#include "model/threshold_events.h"

namespace accelog::cli {
namespace {

const char* const kNames[kEventChannels] = {"X", "Y", "Z", "V"};

const char* const kUsage =
    "events FILE.kvx --threshold MG [--channels X,Y,Z,V] [--baseline mean|zero] [--min-points K] [--json]";

// "X,V" into the channels to look at; nothing for an unknown or empty name.
std::optional<std::array<bool, kEventChannels>> ParseChannels(const std::string& text) {
  std::array<bool, kEventChannels> on{};
  std::stringstream in(text);
  std::string name;
  bool any = false;
  while (std::getline(in, name, ',')) {
    int c = 0;
    while (c < kEventChannels && name != kNames[c]) ++c;
    if (c == kEventChannels) return std::nullopt;
    on[c] = any = true;
  }
  if (!any || text.back() == ',') return std::nullopt;
  return on;
}

}  // namespace

int RunEvents(Args& args) {
  const bool json = args.TakeFlag("--json");
  const auto threshold_text = args.TakeValue("--threshold");
  const auto channels_text = args.TakeValue("--channels");
  const auto baseline_text = args.TakeValue("--baseline");
  const auto min_points_text = args.TakeValue("--min-points");
  if (args.UnknownOption() || args.words.size() != 1 || !threshold_text) return UsageError(kUsage);

  EventOptions options;
  const auto threshold = ParseNumber(*threshold_text);
  if (!threshold || !std::isfinite(*threshold) || *threshold <= 0) return UsageError(kUsage);
  options.threshold = *threshold;
  if (channels_text) {
    const auto channels = ParseChannels(*channels_text);
    if (!channels) return UsageError(kUsage);
    options.channels = *channels;
  }
  if (baseline_text) {
    if (*baseline_text != "mean" && *baseline_text != "zero") return UsageError(kUsage);
    options.baseline = *baseline_text == "mean" ? Baseline::Mean : Baseline::Zero;
  }
  if (min_points_text) {
    const auto k = ParseInteger(*min_points_text);
    if (!k || *k < 1 || *k > kMaxRecords) return UsageError(kUsage);
    options.min_points = static_cast<int32_t>(*k);
  }

  Dataset data;
  if (int rc = OpenKvxFile(data, args.words[0], Dataset::OpenScope::SamplesOnly)) return rc;
  const EventList list = FindThresholdEvents(data, options);

  if (json) {
    JsonNumbers numbers;
    nlohmann::ordered_json out;
    out["threshold"] = numbers.Number(ShortestText(options.threshold));
    nlohmann::ordered_json baseline = nlohmann::ordered_json::object();
    for (int c = 0; c < kEventChannels; ++c)
      if (options.channels[c]) baseline[kNames[c]] = numbers.Number(ShortestText(list.baseline[c]));
    out["baseline"] = baseline;
    out["events"] = nlohmann::ordered_json::array();
    // The events are written as they come: tens of thousands of them would
    // otherwise first build a document many times the size of the text.
    std::string text = numbers.Dump(out);
    text.resize(text.size() - 2);  // "]}"
    for (size_t k = 0; k < list.events.size(); ++k) {
      const ThresholdEvent& e = list.events[k];
      text += k == 0 ? "{" : ",{";
      text += "\"channel\":\"" + std::string(kNames[e.channel]) + "\",\"first\":" + std::to_string(e.first) +
              ",\"last\":" + std::to_string(e.last) + ",\"points\":" + std::to_string(e.points) +
              ",\"start\":\"" + e.start + "\",\"duration_s\":" + ShortestText(e.duration_s) +
              ",\"peak\":" + ShortestText(e.peak) + ",\"peak_point\":" + std::to_string(e.peak_point) + "}";
    }
    text += "]}\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  std::printf("threshold %s mg, baseline", ShortestText(options.threshold).c_str());
  for (int c = 0; c < kEventChannels; ++c)
    if (options.channels[c]) std::printf(" %s %s", kNames[c], ShortestText(list.baseline[c]).c_str());
  std::printf(" mg: %zu events\n", list.events.size());
  if (list.events.empty()) return kExitOk;
  std::printf("%-2s %8s %8s %7s %-23s %12s %12s %8s\n", "", "first", "last", "points", "start", "duration s", "peak",
              "at");
  for (const ThresholdEvent& e : list.events) {
    std::printf("%-2s %8d %8d %7d %-23s %12s %12s %8d\n", kNames[e.channel], e.first, e.last, e.points,
                e.start.c_str(), ShortestText(e.duration_s).c_str(), ShortestText(e.peak).c_str(), e.peak_point);
  }
  return kExitOk;
}

}  // namespace accelog::cli
