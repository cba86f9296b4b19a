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

// A logger lying flat: gravity on Z (256 counts, 998.4 mg), a decaying
// vibration on X and a slower sway on Y, a few shocks, and optional gaps of
// zero points (the logger read nothing) every gap_every samples.
inline std::vector<KvxSample> RealisticSamples(int n, int gap_every = 0, int gap_length = 0) {
  std::vector<KvxSample> v(static_cast<size_t>(n));
  uint32_t noise = 12345;
  auto rnd = [&noise] {
    noise = noise * 1103515245u + 12345u;
    return static_cast<int>((noise >> 16) % 7) - 3;
  };
  for (int i = 0; i < n; ++i) {
    const double t = i;
    const double burst = std::exp(-std::fmod(t, 400.0) / 120.0);
    double x = 60.0 * burst * std::sin(t * 0.9) + rnd();
    double y = 25.0 * std::sin(t * 0.05) + rnd();
    double z = 256.0 + 8.0 * std::sin(t * 0.3) + rnd();
    if (i % 997 == 500) x += 140, z += 90;  // a shock
    KvxSample s{static_cast<int16_t>(std::lround(x)), static_cast<int16_t>(std::lround(y)),
                static_cast<int16_t>(std::lround(z))};
    if (gap_every > 0 && i % gap_every >= gap_every - gap_length) s = {0, 0, 0};
    v[static_cast<size_t>(i)] = s;
  }
  return v;
}

}  // namespace accelog::testing
