// accelog-cli-qt: the accelog-cli commands that draw with Qt. accelog-cli
// runs it with the command line the user typed.
#include <QApplication>

#include <cstdio>
#include <string>

#include "cli/cli.h"

namespace accelog::cli {
namespace {

struct QtCommand {
  const char* name;
  int (*run)(Args&);
};

const QtCommand kQtCommands[] = {
    {"render", RunRender},
    {"print", RunPrint},
    {"report", RunReport},
};

}  // namespace
}  // namespace accelog::cli

int main(int argc, char** argv) {
  using namespace accelog::cli;
  Args args;
  const int i = ReadGlobalOptions(argc, argv, args);
  // The drawing needs no display: offscreen unless the caller chose one.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int app_argc = 1;
  char app_name[] = "accelog-cli";
  char* app_argv[] = {app_name, nullptr};
  QApplication app(app_argc, app_argv);
#if defined(__x86_64__)
  // Starting Qt leaves the upper halves of the AVX registers in use; every
  // SSE instruction after that pays for it, and converting the samples (atan)
  // ran six times slower. Clearing them once here is enough.
  if (__builtin_cpu_supports("avx")) asm volatile("vzeroupper");
#endif
  if (i >= 0 && i < argc) {
    for (const auto& c : kQtCommands) {
      if (std::string(argv[i]) == c.name) return c.run(args);
    }
  }
  std::fprintf(stderr, "accelog-cli-qt: runs only for accelog-cli (see accelog-cli --help)\n");
  return kExitUsage;
}
