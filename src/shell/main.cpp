// accelog: the desktop program of the three-axis USB acceleration logger.
#include <QApplication>
#include <csignal>
#include <cstdio>

#include "shell/build_info.h"
#include "shell/program.h"

int main(int argc, char** argv) {
  // A file-size limit makes a write fail with a reason instead of killing us.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setApplicationName("accelog");
  QApplication::setApplicationVersion(accelog::kAccelogVersion);
  const QStringList args = QApplication::arguments();
  if (args.contains("--help") || args.contains("-h")) {
    std::printf("usage: accelog [--device usb|sim:SOCKET] [--simulate [--samples N]]\n");
    return 0;
  }
  accelog::ProgramOptions options;
  QString error;
  if (!accelog::ParseProgramOptions(args, options, error)) {
    std::fprintf(stderr, "accelog: %s\nusage: accelog [--device usb|sim:SOCKET] [--simulate [--samples N]]\n",
                 qPrintable(error));
    return 64;
  }
  accelog::Program program(options);
  if (!program.Start()) return 1;
  return app.exec();
}
