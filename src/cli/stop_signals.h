#pragma once
// SIGINT and SIGTERM stop a command's work instead of killing the program.
// While an object of this class lives the two signals are blocked and wait
// in a signal descriptor, which the command's timer loop asks without
// blocking; at its end they are delivered as usual again.
#include <csignal>

namespace accelog::cli {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Whether one of the two arrived since construction; once true, stays true.
  bool Requested();

 private:
  sigset_t previous_mask_{};
  int fd_ = -1;
  bool requested_ = false;
};

}  // namespace accelog::cli
