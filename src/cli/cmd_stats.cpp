// stats: statistics of a span of points, beyond what the statistics panel shows.
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "model/dataset.h"
#include "model/span_statistics.h"

namespace accelog::cli {
namespace {

const char* const kChannelNames[kChannels] = {"X", "Y", "Z", "V", "AX", "AY", "AZ"};
const char* const kUsage = "stats FILE.kvx [--from N] [--to M] [--json]";

}  // namespace

int RunStats(Args& args) {
  const bool json = args.TakeFlag("--json");
  const auto from_text = args.TakeValue("--from");
  const auto to_text = args.TakeValue("--to");
  const auto from = from_text ? ParseInteger(*from_text) : std::optional<long long>(1);
  const auto to = to_text ? ParseInteger(*to_text) : std::optional<long long>(kMaxRecords);
  if (args.UnknownOption() || args.words.size() != 1 || !from || !to || *from < 1 || *from > *to) return UsageError(kUsage);
  Dataset data;
  if (int rc = OpenKvxFile(data, args.words[0], Dataset::OpenScope::SamplesOnly)) return rc;
  const auto clip = [](long long v) { return static_cast<int32_t>(std::min<long long>(v, kMaxRecords)); };
  const SpanStatistics s = ComputeSpanStatistics(data, clip(*from), clip(*to));

  if (json) {
    JsonNumbers numbers;
    nlohmann::ordered_json out;
    out["from"] = *from;
    out["to"] = s.to;
    out["count"] = s.count;
    nlohmann::ordered_json channels = nlohmann::ordered_json::object();
    for (int c = 0; s.count > 0 && c < kChannels; ++c) {
      const ChannelSpan& ch = s.channels[c];
      channels[kChannelNames[c]] = {{"min", numbers.Number(ShortestText(ch.min))}, {"min_point", ch.min_point},
                                    {"max", numbers.Number(ShortestText(ch.max))}, {"max_point", ch.max_point},
                                    {"p2p", numbers.Number(ShortestText(ch.p2p))},  {"mean", numbers.Number(ShortestText(ch.mean))},
                                    {"rms", numbers.Number(ShortestText(ch.rms))},  {"std", numbers.Number(ShortestText(ch.std))},
                                    {"crest", numbers.Number(ShortestText(ch.crest))}};
    }
    out["channels"] = channels;
    std::printf("%s\n", numbers.Dump(out).c_str());
    return kExitOk;
  }
  std::printf("points %lld to %d: %d not all-zero\n", *from, s.to, s.count);
  if (s.count == 0) return kExitOk;
  std::printf("%-3s %12s %8s %12s %8s %12s %12s %12s %12s %8s\n", "", "min", "at", "max", "at", "p2p", "mean", "rms",
              "std", "crest");
  for (int c = 0; c < kChannels; ++c) {
    const ChannelSpan& ch = s.channels[c];
    std::printf("%-3s %12s %8d %12s %8d %12s %12s %12s %12s %8s\n", kChannelNames[c], ShortestText(ch.min).c_str(),
                ch.min_point, ShortestText(ch.max).c_str(), ch.max_point, ShortestText(ch.p2p).c_str(),
                ShortestText(ch.mean).c_str(), ShortestText(ch.rms).c_str(), ShortestText(ch.std).c_str(),
                ShortestText(ch.crest).c_str());
  }
  return kExitOk;
}

}  // namespace accelog::cli
