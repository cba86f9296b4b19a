#include "sim/logger.h"

#include <algorithm>

namespace accelog::sim {
namespace {

constexpr uint8_t kHeader[11] = {0xFE, 0xFE, 0xFE, 0xFE, 0x68, 0xA0,
                                 0xA1, 0xA2, 0xA3, 0xA4, 0x68};

uint8_t Sum(std::span<const uint8_t> f, size_t last) {
  unsigned s = 0;
  for (size_t i = 4; i <= last; ++i) s += f[i];
  return static_cast<uint8_t>(s);
}

}  // namespace

Packet MakeFrame(uint8_t control, std::span<const uint8_t> data) {
  Packet f(kHeader, kHeader + 11);
  f.push_back(control);
  f.push_back(static_cast<uint8_t>(data.size()));
  f.insert(f.end(), data.begin(), data.end());
  f.push_back(Sum(f, f.size() - 1));
  f.push_back(0x16);
  return f;
}

bool ValidFrame(std::span<const uint8_t> f) {
  if (f.size() < 15 || !std::equal(kHeader, kHeader + 11, f.begin())) return false;
  const size_t n = 15u + f[12];
  return f.size() == n && f[n - 2] == Sum(f, n - 3) && f[n - 1] == 0x16;
}

Logger::Logger(Recording memory, std::string id_text, uint32_t live_seed)
    : memory_(std::move(memory)), id_text_(std::move(id_text)), live_(live_seed) {
  id_text_.resize(12, ' ');
}

std::vector<Packet> Logger::Respond(std::span<const uint8_t> frame) {
  if (!ValidFrame(frame)) return {};
  const uint8_t c = frame[11];
  const std::span<const uint8_t> data = frame.subspan(13, frame[12]);
  switch (c) {
    case 0x12:
      return {MakeFrame(0x92)};
    case 0x11: {
      const std::vector<uint8_t> id(id_text_.begin(), id_text_.end());
      return {MakeFrame(0x91, id)};
    }
    case 0x20:
      if (data.size() != parameters_.size()) return {};
      std::copy(data.begin(), data.end(), parameters_.begin());
      parameters_set_ = true;
      return {MakeFrame(0xA0)};
    case 0x23:
      cursor_ = 0;
      blocks_sent_ = 0;
      last_block_.clear();
      return {MakeFrame(0xA3, memory_.head)};
    case 0x24:
      last_block_ = NextBlock();
      return {last_block_};
    case 0x25:
      if (last_block_.empty()) last_block_ = MakeFrame(0xA4);
      return {last_block_};
    case 0x22:
      return {LiveBlock(0xA2, 1)};
    case 0x21: {
      std::vector<Packet> set;
      for (int b = 0; b < 32; ++b) set.push_back(LiveBlock(0xA1, 8));
      return set;
    }
    default:
      return {};
  }
}

Packet Logger::NextBlock() {
  const uint64_t count = memory_.Count();
  if (cursor_ >= count || (early_end_ >= 0 && blocks_sent_ >= early_end_)) return MakeFrame(0xA4);
  const uint64_t k = std::min<uint64_t>(8, count - cursor_);
  const auto first = memory_.samples.begin() + static_cast<long>(cursor_ * 6);
  const std::vector<uint8_t> data(first, first + static_cast<long>(k * 6));
  cursor_ += k;
  ++blocks_sent_;
  return MakeFrame(0xA4, data);
}

Packet Logger::LiveBlock(uint8_t control, int samples) {
  std::vector<uint8_t> data;
  for (int s = 0; s < samples; ++s) {
    int16_t v[3];
    live_.Sample(live_index_++, v[0], v[1], v[2]);
    for (int16_t a : v) {
      const auto u = static_cast<uint16_t>(a);
      data.push_back(static_cast<uint8_t>(u & 0xFF));
      data.push_back(static_cast<uint8_t>(u >> 8));
    }
  }
  return MakeFrame(control, data);
}

}  // namespace accelog::sim
