#pragma once
// Builds .kvx file images for tests: a 19-byte head and 6-byte samples.
#include <cmath>
#include <cstdint>
#include <vector>

namespace accelog::testing {

struct KvxHead {
  uint16_t interval = 500;
  uint8_t unit = 0, led = 0, cx = 16, cy = 16, cz = 16, record_mode = 0, work_mode = 0;
  uint32_t count = 0;
  uint8_t year = 13, month = 5, day = 7, hour = 9, minute = 5, second = 7;
};

struct Sample {
  int16_t x, y, z;
};

inline std::vector<unsigned char> KvxImage(const KvxHead& h, const std::vector<Sample>& samples) {
  std::vector<unsigned char> b = {
      static_cast<unsigned char>(h.interval >> 8), static_cast<unsigned char>(h.interval & 0xFF),
      h.unit, h.led, h.cx, h.cy, h.cz, h.record_mode, h.work_mode,
      static_cast<unsigned char>(h.count >> 24), static_cast<unsigned char>(h.count >> 16),
      static_cast<unsigned char>(h.count >> 8), static_cast<unsigned char>(h.count),
      h.year, h.month, h.day, h.hour, h.minute, h.second};
  for (const Sample& s : samples) {
    for (int16_t v : {s.x, s.y, s.z}) {
      const auto u = static_cast<uint16_t>(v);
      b.push_back(static_cast<unsigned char>(u & 0xFF));
      b.push_back(static_cast<unsigned char>(u >> 8));
    }
  }
  return b;
}

// The sample count a file's head announces (0 for a file without a head).
inline uint32_t HeadCount(const std::vector<unsigned char>& f) {
  return f.size() < 13 ? 0 : uint32_t{f[9]} << 24 | uint32_t{f[10]} << 16 | uint32_t{f[11]} << 8 | f[12];
}

// n samples of a plausible recording: gravity on Z, a vibration on X and Y.
inline std::vector<Sample> Wave(int n) {
  std::vector<Sample> s;
  s.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    s.push_back({static_cast<int16_t>((i * 37) % 101 - 50), static_cast<int16_t>((i * 53) % 61 - 30),
                 static_cast<int16_t>(256 + (i * 11) % 9 - 4)});
  }
  return s;
}

// 256 samples with tones on spectrum lines 17 (X), 33 (Y) and 49 (Z) over
// offsets of 300, -200 and gravity (256) counts.
inline std::vector<Sample> TonesOverOffsets() {
  std::vector<Sample> s;
  for (int i = 0; i < 256; ++i) {
    const double t = 2 * M_PI * i / 256;
    s.push_back({static_cast<int16_t>(300 + std::lround(40 * std::sin(16 * t))),
                 static_cast<int16_t>(-200 + std::lround(30 * std::cos(32 * t))),
                 static_cast<int16_t>(256 + std::lround(20 * std::sin(48 * t)))});
  }
  return s;
}

}  // namespace accelog::testing
