#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli.h"

namespace accelog::cli {

std::optional<std::string> Args::TakeValue(const std::string& name) {
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == name && i + 1 < words.size()) {
      std::string v = words[i + 1];
      words.erase(words.begin() + static_cast<long>(i), words.begin() + static_cast<long>(i) + 2);
      return v;
    }
    if (words[i].rfind(name + "=", 0) == 0) {
      std::string v = words[i].substr(name.size() + 1);
      words.erase(words.begin() + static_cast<long>(i));
      return v;
    }
  }
  return std::nullopt;
}

bool Args::TakeFlag(const std::string& name) {
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == name) {
      words.erase(words.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

std::optional<std::string> Args::UnknownOption() const {
  for (const auto& w : words) {
    if (w.size() > 1 && w[0] == '-' && !(w[1] >= '0' && w[1] <= '9')) return w;
  }
  return std::nullopt;
}

std::optional<long long> ParseInteger(const std::string& text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + (text[i] - '0');
  }
  return text[0] == '-' ? -v : v;
}

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(Args&);
};

const Command kCommands[] = {
    {"info", "info FILE.kvx [--json]", RunInfo},
    {"points", "points FILE.kvx [--from N] [--to M]", RunPoints},
    {"slots", "slots FILE.kvx [--from N] [--to M]", RunSlots},
    {"scan", "[--device URI] scan", RunScan},
    {"download", "[--device URI] download OUT.kvx [--overwrite]", RunDownload},
    {"set-params",
     "[--device URI] set-params [--port N] [--interval N] [--unit ms|s|min|h] [--led N]\n"
     "         [--critical X,Y,Z] [--record-mode normal|critical] [--work-mode manual|auto|timing]\n"
     "         [--clock \"YYYY-MM-DD hh:mm:ss\"] [--start \"YYYY-MM-DD hh:mm:ss\"] [--limit N]",
     RunSetParams},
    {"spectrum", "spectrum FILE.kvx [--json] [--window none|hann]", RunSpectrum},
    {"render", "render FILE.kvx OUT.png [--start N] [--end M] [--all-curves] [--cursor COLUMN] [--scale F]\n"
     "         [--spectrum [--window none|hann]]", RunRender},
    {"print",
     "print FILE.kvx OUT.pdf [--start N] [--end M] [--paper A4|A3|Letter|Legal|Tabloid|WxH]\n"
     "         [--portrait|--landscape] [--margins L,R,T,D] [--scale F]",
     RunPrint},
};

int Usage(std::FILE* out) {
  std::fprintf(out, "usage: accelog-cli [--device usb|sim:SOCKET] COMMAND ...\n");
  for (const auto& c : kCommands) std::fprintf(out, "       accelog-cli %s\n", c.usage);
  return out == stdout ? kExitOk : kExitUsage;
}

}  // namespace
}  // namespace accelog::cli

int main(int argc, char** argv) {
  using namespace accelog::cli;
  // A file-size limit makes a write fail with a reason instead of killing us.
  std::signal(SIGXFSZ, SIG_IGN);
  Args args;
  args.device = "usb";
  int i = 1;
  for (; i < argc; ++i) {
    const std::string w = argv[i];
    if (w == "--help" || w == "-h") return Usage(stdout);
    if (w == "--device" && i + 1 < argc) {
      args.device = argv[++i];
    } else if (w.rfind("--device=", 0) == 0) {
      args.device = w.substr(9);
    } else {
      break;
    }
  }
  if (i >= argc) return Usage(stderr);
  const std::string name = argv[i];
  for (++i; i < argc; ++i) args.words.emplace_back(argv[i]);
  for (const auto& c : kCommands) {
    if (name == c.name) return c.run(args);
  }
  std::fprintf(stderr, "accelog-cli: unknown command '%s'\n", name.c_str());
  return Usage(stderr);
}
