#include "sim/recording.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

namespace accelog::sim {
namespace {

constexpr double kCountsPerG = 256.0;  // 3.9 mg per count
// 50 ms, the shortest interval the parameter dialog takes in milliseconds,
// so a downloaded recording's parameters open there as they stand.
constexpr double kSampleSeconds = 0.05;

void PutCount(std::array<uint8_t, 19>& head, uint32_t count) {
  head[9] = static_cast<uint8_t>(count >> 24);
  head[10] = static_cast<uint8_t>(count >> 16);
  head[11] = static_cast<uint8_t>(count >> 8);
  head[12] = static_cast<uint8_t>(count);
}

void PutSample(std::vector<uint8_t>& out, int16_t x, int16_t y, int16_t z) {
  for (int16_t v : {x, y, z}) {
    const auto u = static_cast<uint16_t>(v);
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
}

int16_t Counts(double v) {
  return static_cast<int16_t>(std::lround(std::fmax(-32768.0, std::fmin(32767.0, v))));
}

}  // namespace

std::vector<uint8_t> Recording::FileImage() const {
  std::vector<uint8_t> out(head.begin(), head.end());
  out.insert(out.end(), samples.begin(), samples.end());
  return out;
}

Motion::Motion(uint32_t seed) : state_(0x9E3779B97F4A7C15ull ^ seed) {}

// xorshift64*: small, and the same on every platform.
int Motion::Noise() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  const uint64_t r = state_ * 0x2545F4914F6CDD1Dull;
  return static_cast<int>((r >> 33) % 7) - 3;
}

void Motion::Sample(uint64_t k, int16_t& x, int16_t& y, int16_t& z) {
  const double t = static_cast<double>(k) * kSampleSeconds;
  const double two_pi = 2.0 * std::numbers::pi;
  const double tilt = 0.25 * std::sin(two_pi * t / 120.0);
  const double roll = 0.1 * std::sin(two_pi * t / 45.0 + 0.7);
  const double gx = kCountsPerG * std::sin(tilt);
  const double gy = kCountsPerG * std::cos(tilt) * std::sin(roll);
  const double gz = kCountsPerG * std::cos(tilt) * std::cos(roll);
  x = Counts(gx + 18.0 * std::sin(two_pi * 1.0 * t) + Noise());
  y = Counts(gy + 11.0 * std::sin(two_pi * 2.5 * t + 1.0) + Noise());
  z = Counts(gz + 7.0 * std::sin(two_pi * 4.0 * t + 2.0) + Noise());
}

Recording MakeRecording(uint32_t count, uint32_t seed) {
  Recording r;
  // 50 ms interval, LED cycle 1 s, critical values 16, normal, manual mode,
  // started 6 December 2026 10:00:00.
  r.head = {0x00, 0x32, 0x00, 0x01, 16, 16, 16, 0x00, 0x00, 0, 0, 0, 0, 26, 12, 6, 10, 0, 0};
  PutCount(r.head, count);
  r.samples.reserve(static_cast<size_t>(count) * 6);
  Motion motion(seed);
  for (uint32_t k = 0; k < count; ++k) {
    int16_t x, y, z;
    motion.Sample(k, x, y, z);
    PutSample(r.samples, x, y, z);
  }
  return r;
}

bool LoadRecording(const std::string& file, Recording& out, std::string* error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + file;
    return false;
  }
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (bytes.size() < 19) {
    if (error) *error = file + " has no whole head";
    return false;
  }
  std::copy(bytes.begin(), bytes.begin() + 19, out.head.begin());
  const size_t whole = (bytes.size() - 19) / 6 * 6;  // a torn last sample is left out
  out.samples.assign(bytes.begin() + 19, bytes.begin() + 19 + static_cast<long>(whole));
  PutCount(out.head, out.Count());
  return true;
}

}  // namespace accelog::sim
