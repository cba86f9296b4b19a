// accelog-cli: loads no Qt. The commands that draw (RunInQtHelper) run in
// accelog-cli-qt, with the same command line.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/build_info.h"

namespace accelog::cli {

namespace {

struct Option {
  const char* name;
  const char* text;
};

struct Command {
  const char* name;
  const char* usage;
  const char* summary;  // what it does, a sentence or two
  std::vector<Option> options;
  int (*run)(Args&);
};

const Option kFromTo[] = {{"--from N", "first point (default 1)"}, {"--to M", "last point (default the last)"}};
const Option kDevice = {"--device URI", "the logger: usb (default) or sim:SOCKET"};

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"info", "info FILE.kvx [--json]",
       "Opens a recording as the Acceleration view does and prints its head, its\n"
       "statistics and the texts of the statistics panel.",
       {{"--json", "one JSON object instead of a table"}},
       RunInfo},
      {"points", "points FILE.kvx [--from N] [--to M]",
       "Prints the points of a recording as CSV lines: number, date, time, X, Y, Z,\n"
       "vector sum and the three angles.",
       {kFromTo[0], kFromTo[1]},
       RunPoints},
      {"slots", "slots FILE.kvx [--from N] [--to M]",
       "Prints the chart's 200 columns for a range of points: column, points in it,\n"
       "first point.",
       {kFromTo[0], kFromTo[1]},
       RunSlots},
      {"stats", "stats FILE.kvx [--from N] [--to M] [--json]",
       "Statistics of a span of points, over the points that are not all-zero: for X,\n"
       "Y, Z, V and the three angles the minimum and maximum with their points (the\n"
       "first on ties), peak-to-peak, mean, RMS, standard deviation (population) and\n"
       "crest factor. A span beyond the file is cut to it.",
       {kFromTo[0], kFromTo[1], {"--json", "one JSON object; numbers as the shortest text that reads back"}},
       RunStats},
      {"events", "events FILE.kvx --threshold MG [--channels X,Y,Z,V] [--baseline mean|zero] [--min-points K] [--json]",
       "Lists threshold events: runs of consecutive non-zero points where a channel's\n"
       "distance from its baseline is at least the threshold. An all-zero point ends\n"
       "a run. Sorted by first point, then channel.",
       {{"--threshold MG", "the threshold in mg, above 0 (required)"},
        {"--channels X,Y,Z,V", "the channels to look at (default all four)"},
        {"--baseline mean|zero", "the channel's mean over the file's non-zero points (default), or 0"},
        {"--min-points K", "shortest run that counts (default 1)"},
        {"--json", "one JSON object; numbers as the shortest text that reads back"}},
       RunEvents},
      {"export", "export FILE.kvx OUT.txt|OUT.xlsx|OUT.csv [--overwrite] [--from N] [--to M]",
       "Writes the non-zero points of a recording as the text file, workbook or CSV\n"
       "of Export Data; the extension of OUT chooses the format.",
       {{"--overwrite", "replace OUT when it exists"}, kFromTo[0], kFromTo[1]},
       RunExport},
      {"scan", "[--device URI] scan",
       "Finds the logger, connects and prints its identification.",
       {kDevice},
       RunScan},
      {"download", "[--device URI] download OUT.kvx [--overwrite] [--force]",
       "Downloads the logger's memory into OUT.kvx as Download Data does; SIGINT or\n"
       "SIGTERM stop it, keeping the whole blocks that came in.",
       {kDevice, {"--overwrite", "replace OUT.kvx when it exists"},
        {"--force", "download even a count too large to open (327601 samples or more)"}},
       RunDownload},
      {"set-params",
       "[--device URI] set-params [--port N] [--interval N] [--unit ms|s|min|h] [--led N]\n"
       "         [--critical X,Y,Z] [--record-mode normal|critical] [--work-mode manual|auto|timing]\n"
       "         [--clock \"YYYY-MM-DD hh:mm:ss\"] [--start \"YYYY-MM-DD hh:mm:ss\"] [--limit N]",
       "Judges the recording parameters as the System Parameter dialog does, its\n"
       "keypad ranges included, stores them in MPInteger.kvx and sends them with the\n"
       "clock. Options left out keep their stored values.",
       {kDevice,
        {"--port N", "port, 1 to 49"},
        {"--interval N", "recording interval: 50 to 32766 ms, or 1 to 32766 s, min or h"},
        {"--unit ms|s|min|h", "unit of the interval"},
        {"--led N", "LED twinkle cycle in seconds, 1 to 16"},
        {"--critical X,Y,Z", "critical values of the three axes, 1 to 16 each"},
        {"--record-mode normal|critical", "record every sample, or only beyond the critical values"},
        {"--work-mode manual|auto|timing", "how recording starts; timing starts at --start"},
        {"--clock \"YYYY-MM-DD hh:mm:ss\"", "the current time to send (default the computer's clock)"},
        {"--start \"YYYY-MM-DD hh:mm:ss\"", "start time of a timed recording, years 2013 to 2030"},
        {"--limit N", "limit time in minutes; with ms intervals at most interval x 5.46"}},
       RunSetParams},
      {"live",
       "[--device URI] live OUT.kvx [--overwrite] [--interval N] [--unit ms|s] [--limit N]\n"
       "         [--limit-kind time|count]",
       "Captures live samples into OUT.kvx as Real Time Data does, until the limit,\n"
       "SIGINT or SIGTERM.",
       {kDevice, {"--overwrite", "replace OUT.kvx when it exists"},
        {"--interval N", "sample interval: 500 to 32767 ms, or 1 to 32767 s"},
        {"--unit ms|s", "unit of the interval"},
        {"--limit N", "minutes, or samples with --limit-kind count"},
        {"--limit-kind time|count", "what --limit counts"}},
       RunLive},
      {"live-spectrum", "[--device URI] live-spectrum [OUT] [--sets N] [--overwrite] [--json]",
       "Captures sets of 256 samples as Real Time Data For Frequency does and saves\n"
       "the last one; without OUT into the program's folder.",
       {kDevice, {"--sets N", "stop after N sets (default: at SIGINT or SIGTERM)"},
        {"--overwrite", "replace OUT when it exists"},
        {"--json", "one JSON line per set with its spectra instead of the file name"}},
       RunLiveSpectrum},
      {"spectrum", "spectrum FILE.kvx [--json] [--window none|hann] [--remove-mean] [--hz]",
       "Prints the spectra of the first 256 points of a recording as the Frequency\n"
       "view computes them.",
       {{"--json", "one JSON object instead of a table"}, {"--window none|hann", "window before the FFT (default none)"},
        {"--remove-mean", "each axis's mean of the 256 samples taken off before the FFT"},
        {"--hz", "lines and peaks as frequencies in Hz from the file's interval"}},
       RunSpectrum},
      {"render",
       "render FILE.kvx OUT.png [--start N] [--end M] [--all-curves] [--cursor COLUMN] [--scale F]\n"
       "         [--spectrum [--window none|hann] [--remove-mean] [--hz]]",
       "Draws the chart window of a recording into a PNG image.",
       {{"--start N", "first point shown"}, {"--end M", "last point shown"},
        {"--all-curves", "the angle curves too"}, {"--cursor COLUMN", "the cursor on a column, 1 to 200, with its read-out"},
        {"--scale F", "image scale, 0.5 to 4"}, {"--spectrum", "the Frequency view"},
        {"--window none|hann", "window before the FFT, with --spectrum"},
        {"--remove-mean", "each axis's mean off before the FFT, with --spectrum"},
        {"--hz", "frequencies in Hz on the axis, the peaks and the read-out, with --spectrum"}},
       RunInQtHelper},
      {"print",
       "print FILE.kvx OUT.pdf [--start N] [--end M] [--paper A4|A3|Letter|Legal|Tabloid|WxH]\n"
       "         [--portrait|--landscape] [--margins L,R,T,D] [--scale F]",
       "Prints the chart of a recording into a PDF as Print does, with the stored\n"
       "page set-up unless options change it.",
       {{"--start N", "first point shown"}, {"--end M", "last point shown"},
        {"--paper A4|A3|Letter|Legal|Tabloid|WxH", "paper, or its width x height in mm"},
        {"--portrait", "upright page"}, {"--landscape", "sideways page"},
        {"--margins L,R,T,D", "margins in mm"}, {"--scale F", "size of the chart on the page, above 0 up to 10"}},
       RunInQtHelper},
  };
  return commands;
}

// The rest of --help; the man page is made from it, so keep every option and
// exit status here.
const char kHelpTail[] =
    "\n"
    "Options:\n"
    "  --device usb         the logger on USB, vendor 1041 product 8102 (default)\n"
    "  --device sim:SOCKET  the simulated logger accelog-sim listening on SOCKET\n"
    "  --trace FILE         write every frame sent and received, and every transport\n"
    "                       failure, to FILE (monotonic ms, direction, length, hex)\n"
    "  -h, --help           print this help and exit; after a command, that command's help\n"
    "  --version            print the version and build number and exit\n"
    "\n"
    "Exit status:\n"
    "  0   success\n"
    "  1   the link, a time-out, the device, reading or writing a file failed\n"
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

// The summary indented under its command, and the options in two columns.
void PrintCommandHelp(std::FILE* out, const Command& c, const char* indent) {
  for (const char* p = c.summary; *p; ++p) {
    if (p == c.summary || p[-1] == '\n') std::fputs(indent, out);
    std::fputc(*p, out);
  }
  std::fputc('\n', out);
  for (const Option& o : c.options) std::fprintf(out, "%s  %-32s %s\n", indent, o.name, o.text);
}

int Usage(std::FILE* out) {
  std::fprintf(out, "Usage: accelog-cli [--device usb|sim:SOCKET] [--trace FILE] COMMAND ...\n");
  for (const auto& c : Commands()) std::fprintf(out, "  or:  accelog-cli %s\n", OneLine(c.usage).c_str());
  if (out != stdout) return kExitUsage;
  std::fputs("\nRuns the engines of the accelog program without a window.\n\nCommands:\n", out);
  for (const auto& c : Commands()) {
    std::fprintf(out, "  %s\n", c.name);
    PrintCommandHelp(out, c, "    ");
  }
  std::fputs(kHelpTail, out);
  return kExitOk;
}

// COMMAND --help: the command's own usage, what it does and every option.
int CommandUsage(const Command& c) {
  std::printf("Usage: accelog-cli %s\n\n", c.usage);
  PrintCommandHelp(stdout, c, "");
  return kExitOk;
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
  for (const auto& c : Commands()) {
    if (name != c.name) continue;
    for (const auto& w : args.words) {
      if (w == "--help" || w == "-h") return CommandUsage(c);
    }
    return c.run(args);
  }
  std::fprintf(stderr, "accelog-cli: unknown command '%s'\n", name.c_str());
  return Usage(stderr);
}
