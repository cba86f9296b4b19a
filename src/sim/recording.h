#pragma once
// The simulated logger's memory: a 19-byte record head and 6-byte samples,
// exactly what a download writes to its file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace accelog::sim {

struct Recording {
  std::array<uint8_t, 19> head{};  // count at head[9..12], high byte first
  std::vector<uint8_t> samples;    // X, Y, Z, each 16-bit low byte first

  uint32_t Count() const { return static_cast<uint32_t>(samples.size() / 6); }
  // Head and samples back to back: the file a whole download produces.
  std::vector<uint8_t> FileImage() const;
};

// One sample of the synthetic motion at sample index k (50 ms apart):
// gravity on Z, a slow tilt, vibrations at 1, 2.5 and 4 Hz and noise drawn
// from a generator seeded with `seed`.
struct Motion {
  explicit Motion(uint32_t seed);
  void Sample(uint64_t k, int16_t& x, int16_t& y, int16_t& z);

 private:
  uint64_t state_;
  int Noise();
};

// `count` samples of the synthetic motion; the same seed gives the same bytes.
Recording MakeRecording(uint32_t count, uint32_t seed);
// The head and samples of a .kvx file, the count set to the samples it holds.
// False when the file cannot be read or has no whole head.
bool LoadRecording(const std::string& file, Recording& out, std::string* error = nullptr);

}  // namespace accelog::sim
