#include <algorithm>

#include "model/conversion.h"
#include "model/dataset.h"
#include "model/utils.h"

namespace accelog {

RealDataRecord SampleColumns::operator[](int32_t i) const {
  RealDataRecord r{};
  const auto at = [i](const auto& column) { return i >= 0 && i < static_cast<int32_t>(column.size()) ? column[i] : 0; };
  r.PlotX = at(plot_.X);
  r.PlotY = at(plot_.Y);
  r.PlotZ = at(plot_.Z);
  r.PlotV = at(plot_.V);
  r.PlotAX = at(plot_.AX);
  r.PlotAY = at(plot_.AY);
  r.PlotAZ = at(plot_.AZ);
  if (i < 1 || i > Size()) return r;
  ConvertSample(x_[i], y_[i], z_[i], r);
  r.No = i;
  const PointTime t = Time(i);
  if (t.Stamped) {
    r.Year = t.Year;
    r.Month = t.Month;
    r.Day = t.Day;
    r.Hour = t.Hour;
    r.Minute = t.Minute;
    r.Second = t.Second;
    StampRecordTexts(r);
  }
  return r;
}

void SampleColumns::SetSample(int32_t i, int16_t x, int16_t y, int16_t z) {
  if (i < 1) return;
  if (i > Size()) Resize(i);
  x_[i] = x;
  y_[i] = y;
  z_[i] = z;
}

PointTime SampleColumns::Time(int32_t i) const {
  if (i < 1 || i > Size()) return {};
  if (i < static_cast<int32_t>(time_.size())) return time_[i];
  if (!regular_) return {};
  // The first point carries the start as it stands; later ones a clock put in range.
  const ClockFields c = i == 1 ? start_ : ClockAfter(start_, (i - 1) * interval_ms_);
  return {c.Year, static_cast<int8_t>(c.Month), static_cast<int8_t>(c.Day), static_cast<int8_t>(c.Hour),
          static_cast<int8_t>(c.Minute), static_cast<int8_t>(c.Second), true};
}

int32_t SampleColumns::Millisecond(int32_t i) const {
  if (i < 1 || i > Size() || i < static_cast<int32_t>(time_.size()) || !regular_) return 0;
  return static_cast<int32_t>((i - 1) * interval_ms_ % 1000);
}

void SampleColumns::SetRegularTimes(const ClockFields& start, int64_t interval_ms) {
  time_ = {};
  regular_ = true;
  start_ = start;
  interval_ms_ = interval_ms;
}

void SampleColumns::FillFromBytes(const uint8_t* bytes, int32_t n) {
  Clear();
  Resize(n);
  auto word = [](const uint8_t* b) { return static_cast<int16_t>(static_cast<uint16_t>(b[1] << 8 | b[0])); };
  for (int32_t k = 1; k <= n; ++k, bytes += 6) {
    x_[k] = word(bytes);
    y_[k] = word(bytes + 2);
    z_[k] = word(bytes + 4);
  }
}

void SampleColumns::SetTime(int32_t i, const PointTime& t) {
  if (i < 1) return;
  regular_ = false;
  if (i >= static_cast<int32_t>(time_.size())) time_.resize(static_cast<size_t>(std::max(i, Size())) + 1);
  time_[i] = t;
}

void SampleColumns::Resize(int32_t n) {
  const size_t size = static_cast<size_t>(std::max(n, 0)) + 1;
  x_.resize(size);
  y_.resize(size);
  z_.resize(size);
  if (time_.size() > size) time_.resize(size);
}

void SampleColumns::Clear() {
  x_ = {};
  y_ = {};
  z_ = {};
  time_ = {};
  regular_ = false;
}

void PlotColumns::Resize(int32_t n) {
  const size_t size = static_cast<size_t>(std::max(n, 0)) + 1;
  for (auto* c : {&X, &Y, &Z, &V}) c->assign(size, 0);
  for (auto* c : {&AX, &AY, &AZ}) c->assign(size, 0.0f);
}

void PlotColumns::Clear() {
  for (auto* c : {&X, &Y, &Z, &V}) *c = {};
  for (auto* c : {&AX, &AY, &AZ}) *c = {};
}

}  // namespace accelog
