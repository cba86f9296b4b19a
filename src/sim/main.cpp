// accelog-sim: the simulated logger on a socket, for accelog --device sim:PATH.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "core/build_info.h"
#include "sim/recording.h"
#include "sim/simulator.h"

namespace {

const char kUsage[] =
    "Usage: accelog-sim --socket PATH [options]\n"
    "\n"
    "The simulated acceleration logger on a socket, for accelog --device sim:PATH.\n"
    "\n"
    "Options:\n"
    "  --socket PATH      where to listen (required)\n"
    "  --samples N        memory of N synthetic samples (default 10000)\n"
    "  --from FILE.kvx    memory from the samples of a .kvx file\n"
    "  --seed S           generator seed for motion, live data and faults (default 1)\n"
    "  --id TEXT          12-character identification text (default ACCELOG-SIM1)\n"
    "  --corrupt F        fraction of replies with one byte flipped\n"
    "  --drop F           fraction of replies never sent\n"
    "  --late F           fraction of replies sent after --late-ms\n"
    "  --late-ms MS       how late a late reply is (default 150)\n"
    "  --stop-after N     answer nothing after N replies\n"
    "  --close-after N    unplug after N replies\n"
    "  --early-end N      end-of-data reply after N data blocks\n"
    "  --save-memory FILE write the memory as the .kvx a download produces\n"
    "  --verbose          log every frame in hex\n"
    "  -h, --help         print this help and exit\n"
    "  --version          print the version and build number and exit\n"
    "\n"
    "Exit status:\n"
    "  0   stopped by SIGINT or SIGTERM\n"
    "  1   the memory could not be read or written, or the socket not opened\n"
    "  64  a usage error\n";

bool Number(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end && *end == '\0' && end != text;
}

int Usage(const std::string& why) {
  if (!why.empty()) std::fprintf(stderr, "accelog-sim: %s\n", why.c_str());
  std::fputs(kUsage, stderr);
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace accelog::sim;
  std::string socket_path, from, save;
  double samples = 10000, seed = 1;
  SimulatorOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string w = argv[i];
    if (w == "--help" || w == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (w == "--version") {
      std::fputs(accelog::VersionText("accelog-sim").c_str(), stdout);
      return 0;
    }
    if (w == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (i + 1 >= argc) return Usage("missing value after " + w);
    const char* v = argv[++i];
    double x = 0;
    const bool numeric = Number(v, x);
    auto fraction = [&](double& target) {
      if (!numeric || x < 0 || x > 1) return false;
      target = x;
      return true;
    };
    auto count = [&](long& target) {
      if (!numeric || x < 0 || x != static_cast<long>(x)) return false;
      target = static_cast<long>(x);
      return true;
    };
    bool ok = true;
    if (w == "--socket") socket_path = v;
    else if (w == "--from") from = v;
    else if (w == "--save-memory") save = v;
    else if (w == "--id") options.id_text = v;
    else if (w == "--samples") ok = numeric && x >= 0 && x <= 4294967295.0 && (samples = x, true);
    else if (w == "--seed") ok = numeric && x >= 0 && x <= 4294967295.0 && (seed = x, true);
    else if (w == "--corrupt") ok = fraction(options.faults.corrupt);
    else if (w == "--drop") ok = fraction(options.faults.drop);
    else if (w == "--late") ok = fraction(options.faults.late);
    else if (w == "--late-ms") ok = numeric && x >= 0 && x <= 10000 && (options.faults.late_ms = static_cast<int>(x), true);
    else if (w == "--stop-after") ok = count(options.faults.stop_after);
    else if (w == "--close-after") ok = count(options.faults.close_after);
    else if (w == "--early-end") ok = count(options.faults.early_end);
    else return Usage("unknown option " + w);
    if (!ok) return Usage("bad value for " + w + ": " + v);
  }
  if (socket_path.empty()) return Usage("--socket is required");
  options.seed = static_cast<uint32_t>(seed);

  Recording memory;
  if (!from.empty()) {
    std::string error;
    if (!LoadRecording(from, memory, &error)) {
      std::fprintf(stderr, "accelog-sim: %s\n", error.c_str());
      return 1;
    }
  } else {
    memory = MakeRecording(static_cast<uint32_t>(samples), options.seed);
  }
  if (!save.empty()) {
    const auto image = memory.FileImage();
    std::ofstream out(save, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!out) {
      std::fprintf(stderr, "accelog-sim: cannot write %s\n", save.c_str());
      return 1;
    }
  }

  // Signals are taken by sigwait below, not by a handler.
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);

  Simulator sim(memory, options);
  std::string error;
  if (!sim.Start(socket_path, &error)) {
    std::fprintf(stderr, "accelog-sim: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(stderr, "accelog-sim: %u samples on %s\n", memory.Count(), socket_path.c_str());
  int sig = 0;
  sigwait(&set, &sig);
  sim.Stop();
  return 0;
}
