#include "cli/stop_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

namespace accelog::cli {
namespace {

sigset_t StopSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

StopSignals::StopSignals() {
  const sigset_t set = StopSet();
  sigprocmask(SIG_BLOCK, &set, &previous_mask_);
  fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}

StopSignals::~StopSignals() {
  // A signal that came after the last question still belongs to this run:
  // taken here, it is not delivered when the mask goes back.
  Requested();
  if (fd_ >= 0) close(fd_);
  sigprocmask(SIG_SETMASK, &previous_mask_, nullptr);
}

bool StopSignals::Requested() {
  signalfd_siginfo info;
  while (fd_ >= 0 && read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) requested_ = true;
  return requested_;
}

}  // namespace accelog::cli
