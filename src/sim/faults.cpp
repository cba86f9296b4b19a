#include "sim/faults.h"

#include <algorithm>

namespace accelog::sim {

FaultPlan::FaultPlan(uint32_t seed) : rng_(0xD1B54A32D192ED03ull ^ (uint64_t{seed} << 1 | 1)) {}

void FaultPlan::Set(const Faults& faults) {
  faults_ = faults;
  replies_ = 0;
}

double FaultPlan::Uniform() {
  rng_ ^= rng_ >> 12;
  rng_ ^= rng_ << 25;
  rng_ ^= rng_ >> 27;
  return static_cast<double>((rng_ * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
}

ReplyPlan FaultPlan::Next(Packet& reply) {
  const long n = replies_++;
  // Every reply draws the same numbers whatever its fate, so a seed gives
  // the same faults on every path.
  const bool drop = Uniform() < faults_.drop ||
                    std::find(faults_.drop_at.begin(), faults_.drop_at.end(), n) != faults_.drop_at.end();
  const bool late = Uniform() < faults_.late;
  const bool corrupt = Uniform() < faults_.corrupt;
  const auto flip_at = static_cast<size_t>(Uniform() * static_cast<double>(reply.size()));
  const auto flip_with = static_cast<uint8_t>(1 + static_cast<int>(Uniform() * 255.0));
  ReplyPlan plan;
  if (faults_.close_after >= 0 && n >= faults_.close_after) {
    plan.fate = ReplyFate::Unplug;
  } else if (faults_.stop_after >= 0 && n >= faults_.stop_after) {
    plan.fate = ReplyFate::Silent;
  } else if (drop) {
    plan.fate = ReplyFate::Drop;
  } else {
    plan.corrupt = corrupt && !reply.empty();
    if (plan.corrupt) reply[std::min(flip_at, reply.size() - 1)] ^= flip_with;
    plan.delay_ms = late ? faults_.late_ms : 0;
  }
  return plan;
}

}  // namespace accelog::sim
