#pragma once
// Small .kvx files for the chart tests and benchmarks: a 19-byte head and
// 6-byte samples (X, Y, Z as 16-bit counts, low byte first; 3.9 mg a count).
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace accelog::testing {

struct KvxSample {
  int16_t x, y, z;
};

struct KvxHead {
  uint16_t interval = 500;
  uint8_t unit = 0;  // milliseconds
  uint8_t led = 5, critical_x = 10, critical_y = 20, critical_z = 30;
  uint8_t record_mode = 0, work_mode = 0;
  uint8_t year = 13, month = 5, day = 7, hour = 9, minute = 5, second = 7;
};

inline bool WriteKvx(const std::string& path, const std::vector<KvxSample>& samples,
                     const KvxHead& h = {}) {
  std::vector<uint8_t> b;
  b.reserve(19 + samples.size() * 6);
  const uint32_t n = static_cast<uint32_t>(samples.size());
  const uint8_t head[19] = {static_cast<uint8_t>(h.interval >> 8), static_cast<uint8_t>(h.interval & 0xFF),
                            h.unit, h.led, h.critical_x, h.critical_y, h.critical_z, h.record_mode,
                            h.work_mode, static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                            static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n), h.year, h.month,
                            h.day, h.hour, h.minute, h.second};
  b.insert(b.end(), head, head + 19);
  for (const KvxSample& s : samples) {
    for (int16_t v : {s.x, s.y, s.z}) {
      const auto u = static_cast<uint16_t>(v);
      b.push_back(static_cast<uint8_t>(u & 0xFF));
      b.push_back(static_cast<uint8_t>(u >> 8));
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  return static_cast<bool>(out);
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
