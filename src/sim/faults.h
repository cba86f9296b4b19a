#pragma once
// What happens to each reply of the simulated logger on its way out: sent,
// damaged, late, dropped, held back for good, or the logger unplugged. The
// socket simulator and the emulated USB logger in the tests share it, so a
// fault mix means the same on both paths.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/logger.h"

namespace accelog::sim {

struct Faults {
  double corrupt = 0;    // fraction of replies with one byte flipped
  double drop = 0;       // fraction of replies never sent
  double late = 0;       // fraction of replies sent after late_ms
  int late_ms = 150;     // longer than the 100 ms a read waits
  long stop_after = -1;  // answer nothing after this many replies
  long close_after = -1; // unplug (close and vanish) after this many replies
  long early_end = -1;   // end-of-data reply after this many data blocks
  std::vector<long> drop_at;  // replies never sent, by number
};

enum class ReplyFate { Send, Drop, Silent, Unplug };

struct ReplyPlan {
  ReplyFate fate = ReplyFate::Send;
  bool corrupt = false;
  int delay_ms = 0;  // late_ms for a late reply
};

// Not thread-safe: its owner serialises the calls.
class FaultPlan {
 public:
  explicit FaultPlan(uint32_t seed);
  // New faults from now on; the reply count starts again at 0.
  void Set(const Faults& faults);
  const Faults& Current() const { return faults_; }
  // Decides the next reply's fate; a corrupt reply is damaged in place.
  ReplyPlan Next(Packet& reply);
  // Replies decided since the faults were set.
  long Replies() const { return replies_; }

 private:
  double Uniform();

  Faults faults_;
  long replies_ = 0;
  uint64_t rng_;
};

}  // namespace accelog::sim
