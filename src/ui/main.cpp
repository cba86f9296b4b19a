// accelog: the desktop program of the three-axis USB acceleration logger.
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "core/build_info.h"
#include "ui/program.h"

namespace {

const char kUsage[] = "Usage: accelog [--device usb|sim:SOCKET] [--simulate [--samples N]] [--trace FILE] [FILE.kvx]\n";

const char kHelp[] =
    "The desktop program of the three-axis USB acceleration logger: recording\n"
    "parameters and clock, downloads into .kvx files, live data and spectra, charts,\n"
    "data lists, export and printing.\n"
    "\n"
    "Without --device or --simulate the program uses the logger chosen last time\n"
    "with File > Use Simulated Logger: the one on USB unless that item was checked.\n"
    "\n"
    "Options:\n"
    "  --device usb         the logger on USB, vendor 1041 product 8102 (default)\n"
    "  --device sim:SOCKET  the simulated logger accelog-sim listening on SOCKET\n"
    "  --simulate           start a simulated logger inside the program and use it\n"
    "  --samples N          memory of that simulated logger (default 20000)\n"
    "  FILE.kvx             a recording to show at start-up: the acceleration\n"
    "                       view, or the frequency view for a spectrum capture\n"
    "  --trace FILE         write every frame sent and received, and every link\n"
    "                       failure, to FILE (monotonic ms, direction, length, hex)\n"
    "  -h, --help           print this help and exit\n"
    "  --version            print the version and build number and exit\n"
    "\n"
    "Exit status:\n"
    "  0   the window was closed\n"
    "  1   the program could not start (another accelog runs, the simulated\n"
    "      logger could not start, or the trace file cannot be written)\n"
    "  64  a usage error\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so they work without a display.
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::printf("%s\n%s", kUsage, kHelp);
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      std::fputs(accelog::VersionText("accelog").c_str(), stdout);
      return 0;
    }
  }
  // A file-size limit makes a write fail with a reason instead of killing us.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setApplicationName("accelog");
  QApplication::setApplicationVersion(accelog::kAccelogVersion);
  QGuiApplication::setDesktopFileName("accelog");
  accelog::ProgramOptions options;
  QString error;
  if (!accelog::ParseProgramOptions(QApplication::arguments(), options, error)) {
    std::fprintf(stderr, "accelog: %s\n%s", qPrintable(error), kUsage);
    return 64;
  }
  accelog::Program program(options);
  if (!program.Start()) return 1;
  return app.exec();
}
