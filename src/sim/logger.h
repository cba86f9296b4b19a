#pragma once
// What the logger answers to each command frame, without any transport:
// connect, identify, parameters and clock, the data inquiry, data blocks and
// their repeat, one live sample and a live spectrum set.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/recording.h"

namespace accelog::sim {

using Packet = std::vector<uint8_t>;

// A logger frame: FE FE FE FE 68 A0..A4 68 C L data CS 16.
Packet MakeFrame(uint8_t control, std::span<const uint8_t> data = {});
// Whether `frame` is a whole, well-formed frame.
bool ValidFrame(std::span<const uint8_t> frame);

class Logger {
 public:
  Logger(Recording memory, std::string id_text, uint32_t live_seed);

  // The reply packets to one command frame (32 for a live spectrum set,
  // none for a malformed frame or an unknown command).
  std::vector<Packet> Respond(std::span<const uint8_t> frame);

  // Answer the data request with the end-of-data reply after this many data
  // blocks of a readout; negative for never.
  void SetEarlyEnd(long blocks) { early_end_ = blocks; }

  const Recording& Memory() const { return memory_; }
  // The 23 data bytes of the last 0x20 frame.
  const std::array<uint8_t, 23>& Parameters() const { return parameters_; }
  bool ParametersSet() const { return parameters_set_; }

 private:
  Packet NextBlock();
  Packet LiveBlock(uint8_t control, int samples);

  Recording memory_;
  std::string id_text_;
  Motion live_;
  uint64_t live_index_ = 0;
  uint64_t cursor_ = 0;     // next sample of the readout
  long blocks_sent_ = 0;    // data blocks of this readout
  long early_end_ = -1;
  Packet last_block_;       // what 0x25 repeats
  std::array<uint8_t, 23> parameters_{};
  bool parameters_set_ = false;
};

}  // namespace accelog::sim
