// accelog-cli: loads no Qt. The commands that draw (RunInQtHelper) run in
// accelog-cli-qt, with the same command line.
#include <csignal>
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "shell/build_info.h"

namespace accelog::cli {

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
    {"export", "export FILE.kvx OUT.txt|OUT.xlsx|OUT.csv [--overwrite] [--from N] [--to M]", RunExport},
    {"scan", "[--device URI] scan", RunScan},
    {"download", "[--device URI] download OUT.kvx [--overwrite]", RunDownload},
    {"set-params",
     "[--device URI] set-params [--port N] [--interval N] [--unit ms|s|min|h] [--led N]\n"
     "         [--critical X,Y,Z] [--record-mode normal|critical] [--work-mode manual|auto|timing]\n"
     "         [--clock \"YYYY-MM-DD hh:mm:ss\"] [--start \"YYYY-MM-DD hh:mm:ss\"] [--limit N]",
     RunSetParams},
    {"live",
     "[--device URI] live OUT.kvx [--overwrite] [--interval N] [--unit ms|s] [--limit N]\n"
     "         [--limit-kind time|count]",
     RunLive},
    {"live-spectrum", "[--device URI] live-spectrum [OUT] [--sets N] [--overwrite] [--json]",
     RunLiveSpectrum},
    {"spectrum", "spectrum FILE.kvx [--json] [--window none|hann]", RunSpectrum},
    {"render", "render FILE.kvx OUT.png [--start N] [--end M] [--all-curves] [--cursor COLUMN] [--scale F]\n"
     "         [--spectrum [--window none|hann]]", RunInQtHelper},
    {"print",
     "print FILE.kvx OUT.pdf [--start N] [--end M] [--paper A4|A3|Letter|Legal|Tabloid|WxH]\n"
     "         [--portrait|--landscape] [--margins L,R,T,D] [--scale F]",
     RunInQtHelper},
};

// The rest of --help; the man page is made from it, so keep every option and
// exit status here.
const char kHelpTail[] =
    "\n"
    "Runs the engines of the accelog program without a window.\n"
    "\n"
    "Options:\n"
    "  --device usb         the logger on USB, vendor 1041 product 8102 (default)\n"
    "  --device sim:SOCKET  the simulated logger accelog-sim listening on SOCKET\n"
    "  --trace FILE         write every frame sent and received, and every transport\n"
    "                       failure, to FILE (monotonic ms, direction, length, hex)\n"
    "  -h, --help           print this help and exit\n"
    "  --version            print the version and build number and exit\n"
    "\n"
    "Exit status:\n"
    "  0   success\n"
    "  1   the link, a time-out, the device or writing a file failed\n"
    "  2   refused: a bad .kvx file, \"No data\" on the logger, refused parameters\n"
    "  64  a usage error\n";

// A usage on one line: help2man ends the synopsis at the first wrapped line.
std::string OneLine(const char* usage) {
  std::string line;
  for (const char* p = usage; *p; ++p) {
    if (*p != '\n') {
      line += *p;
    } else {
      while (p[1] == ' ') ++p;
      line += ' ';
    }
  }
  return line;
}

int Usage(std::FILE* out) {
  std::fprintf(out, "Usage: accelog-cli [--device usb|sim:SOCKET] [--trace FILE] COMMAND ...\n");
  for (const auto& c : kCommands) std::fprintf(out, "  or:  accelog-cli %s\n", OneLine(c.usage).c_str());
  if (out == stdout) std::fputs(kHelpTail, out);
  return out == stdout ? kExitOk : kExitUsage;
}

}  // namespace
}  // namespace accelog::cli

int main(int argc, char** argv) {
  using namespace accelog::cli;
  // A file-size limit makes a write fail with a reason instead of killing us.
  std::signal(SIGXFSZ, SIG_IGN);
  Args args;
  const int i = ReadGlobalOptions(argc, argv, args);
  if (i == kAskedForVersion) {
    std::fputs(accelog::VersionText("accelog-cli").c_str(), stdout);
    return kExitOk;
  }
  if (i < 0) return Usage(stdout);
  if (i >= argc) return Usage(stderr);
  const std::string name = argv[i];
  for (const auto& c : kCommands) {
    if (name == c.name) return c.run(args);
  }
  std::fprintf(stderr, "accelog-cli: unknown command '%s'\n", name.c_str());
  return Usage(stderr);
}
