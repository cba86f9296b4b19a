#pragma once
// Chart test files: a realistic recording written through the shared builder.
#include <cmath>
#include <string>
#include <vector>

#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog::testing {

using KvxSample = Sample;

// LED 5, critical values 10/20/30: values a view shows unchanged.
inline bool WriteKvx(const std::string& path, const std::vector<KvxSample>& samples) {
  KvxHead h;
  h.led = 5, h.cx = 10, h.cy = 20, h.cz = 30;
  h.count = static_cast<uint32_t>(samples.size());
  WriteBytes(path, KvxImage(h, samples));
  return ReadBytes(path).size() == 19 + 6 * samples.size();
}

// A logger lying flat: gravity on Z (256 counts, 998.4 mg), a vibration on
// X, a sway on Y, and optional gaps of zero points (the logger read nothing)
// every gap_every samples.
inline std::vector<KvxSample> RealisticSamples(int n, int gap_every = 0, int gap_length = 0) {
  std::vector<KvxSample> v;
  for (int i = 0; i < n; ++i) {
    auto at = [i](double amplitude, double rate) { return static_cast<int16_t>(std::lround(amplitude * std::sin(i * rate))); };
    const bool gap = gap_every > 0 && i % gap_every >= gap_every - gap_length;
    v.push_back(gap ? KvxSample{0, 0, 0} : KvxSample{at(60, 0.9), at(25, 0.05), static_cast<int16_t>(256 + at(8, 0.3))});
  }
  return v;
}

}  // namespace accelog::testing
