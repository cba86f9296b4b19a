#include "model/conversion.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "model/text_util.h"
#include "model/utils.h"
#include "model/machine_parameter.h"

namespace accelog {

namespace {
constexpr double kPi = 3.1415926;
constexpr double kMgPerCount = 3.9;

int32_t Nearest32(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

double Degrees(double radians) { return radians / kPi * 180.0; }

// Writes the decimal digits of v (0..99999) at p; returns the new end.
char* PutNumber(char* p, int v) {
  char tmp[12];
  int n = 0;
  unsigned u = v < 0 ? static_cast<unsigned>(-v) : static_cast<unsigned>(v);
  do {
    tmp[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (v < 0) tmp[n++] = '-';
  while (n > 0) *p++ = tmp[--n];
  return p;
}

// Fills a fixed-width text field, cut to its width, blank padded.
void PutField(char* field, size_t width, const char* text, size_t length) {
  const size_t n = length < width ? length : width;
  std::memcpy(field, text, n);
  std::memset(field + n, ' ', width - n);
}
}  // namespace

std::array<float, 4> AccelerationOf(int16_t x, int16_t y, int16_t z) {
  const float fx = static_cast<float>(x * kMgPerCount), fy = static_cast<float>(y * kMgPerCount),
              fz = static_cast<float>(z * kMgPerCount);
  const double X = fx, Y = fy, Z = fz;
  return {fx, fy, fz, static_cast<float>(std::sqrt(X * X + Y * Y + Z * Z))};
}

void ConvertSample(int16_t x, int16_t y, int16_t z, RealDataRecord& r) {
  const std::array<float, 4> a = AccelerationOf(x, y, z);
  r.X = a[0], r.Y = a[1], r.Z = a[2], r.V = a[3];
  const double X = r.X, Y = r.Y, Z = r.Z;
  const double yz = Y * Y + Z * Z, zx = Z * Z + X * X;
  r.AX = yz == 0.0 ? 0.0f : static_cast<float>(Degrees(std::atan(X / std::sqrt(yz))));
  r.AY = zx == 0.0 ? 0.0f : static_cast<float>(Degrees(std::atan(Y / std::sqrt(zx))));
  r.AZ = Z == 0.0 ? 0.0f : static_cast<float>(Degrees(std::atan(std::sqrt(X * X + Y * Y) / Z)));
}

namespace {
void StampDate(RealDataRecord& r) {
  char buf[32];
  char* p = PutNumber(buf, r.Day);
  *p++ = '/';
  p = PutNumber(p, r.Month);
  *p++ = '/';
  p = PutNumber(p, r.Year);
  PutField(r.DateText, sizeof r.DateText, buf, static_cast<size_t>(p - buf));
}

void StampTime(RealDataRecord& r) {
  char buf[32];
  char* p = PutNumber(buf, r.Hour);
  *p++ = ':';
  p = PutNumber(p, r.Minute);
  *p++ = ':';
  p = PutNumber(p, r.Second);
  PutField(r.TimeText, sizeof r.TimeText, buf, static_cast<size_t>(p - buf));
}
}  // namespace

void StampRecordTexts(RealDataRecord& r) {
  StampDate(r);
  StampTime(r);
}

float ChannelValue(const RealDataRecord& r, int channel) {
  switch (channel) {
    case kX: return r.X;
    case kY: return r.Y;
    case kZ: return r.Z;
    case kV: return r.V;
    case kAX: return r.AX;
    case kAY: return r.AY;
    default: return r.AZ;
  }
}

void Dataset::AppendLiveSample() {
  if (CountPoint >= kMaxRecords) return;  // the table is full
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  ClockMillisecond = 0;
  CountPoint += 1;
  NoZeroCopySource = -1;
  RealData.SetSample(CountPoint, RawX, RawY, RawZ);
  RealData.SetTime(CountPoint, {static_cast<int16_t>(tm.tm_year + 1900), static_cast<int8_t>(tm.tm_mon + 1),
                                          static_cast<int8_t>(tm.tm_mday), static_cast<int8_t>(tm.tm_hour),
                                          static_cast<int8_t>(tm.tm_min), static_cast<int8_t>(tm.tm_sec), true});
}

namespace {
int32_t AccelPlot(float value, double ty, float scale) {
  const float g = value * scale;
  return Nearest32((5000.0 - static_cast<double>(g) * 5.0) * ty);
}
float AnglePlot(float angle, double ty, float scale) {
  const float g = angle * scale;
  return static_cast<float>((5000.0 - static_cast<double>(g) * 12.5) * ty);
}
}  // namespace

void Dataset::ComputeAccelPlotPositions(const PlotScale& plot_scale) { PlacePoints(plot_scale, false); }

void Dataset::ComputePlotPositions(const PlotScale& plot_scale) { PlacePoints(plot_scale, true); }

void Dataset::PlacePoints(const PlotScale& plot_scale, bool angles) {
  const double ty = plot_scale.TwipsPerUnitY;
  const float accel = plot_scale.AccelScale, angle = plot_scale.AngleScale;
  PlotColumns& c = Plot;
  if (static_cast<int32_t>(c.X.size()) <= CountPoint) c.Resize(CountPoint);
  for (int32_t i = 1; i <= CountPoint; ++i) {
    RealDataRecord r;
    ConvertSample(RealData.RawX(i), RealData.RawY(i), RealData.RawZ(i), r);
    c.X[i] = AccelPlot(r.X, ty, accel);
    c.Y[i] = AccelPlot(r.Y, ty, accel);
    c.Z[i] = AccelPlot(r.Z, ty, accel);
    c.V[i] = AccelPlot(r.V, ty, accel);
    if (!angles) continue;
    c.AX[i] = AnglePlot(r.AX, ty, angle);
    c.AY[i] = AnglePlot(r.AY, ty, angle);
    c.AZ[i] = AnglePlot(r.AZ, ty, angle);
  }
}

namespace {

// Points converted ahead by a second thread, chunk by chunk, into a small
// ring the taking thread empties in order.
constexpr int32_t kChunkPoints = 4096;
constexpr int kRingChunks = 8;

struct ChunkRing {
  float values[kRingChunks][kChunkPoints][kChannels];
  std::atomic<int64_t> converted{0};  // chunks of the worker's share filled
  std::atomic<int64_t> taken{0};      // of those, the ones taken in
  std::atomic<bool> stop{false};
};

// The worker's share: every chunk but each third one, from the range's start.
bool WorkersChunk(int64_t chunk) { return chunk % 3 != 0; }

void ConvertChunk(const SampleColumns& samples, int32_t from, int32_t to, float (*out)[kChannels]) {
  for (int32_t i = from; i <= to; ++i, ++out) {
    RealDataRecord r;
    ConvertSample(samples.RawX(i), samples.RawY(i), samples.RawZ(i), r);
    (*out)[kX] = r.X, (*out)[kY] = r.Y, (*out)[kZ] = r.Z, (*out)[kV] = r.V;
    (*out)[kAX] = r.AX, (*out)[kAY] = r.AY, (*out)[kAZ] = r.AZ;
  }
}

void FillRing(const SampleColumns& samples, int32_t start, int32_t end, ChunkRing& ring) {
  int64_t share = 0;
  for (int64_t chunk = 0; start + chunk * kChunkPoints <= end; ++chunk) {
    if (!WorkersChunk(chunk)) continue;
    while (share - ring.taken.load(std::memory_order_acquire) >= kRingChunks) {
      if (ring.stop.load(std::memory_order_relaxed)) return;
      std::this_thread::yield();
    }
    const int32_t from = static_cast<int32_t>(start + chunk * kChunkPoints);
    ConvertChunk(samples, from, std::min(end, from + kChunkPoints - 1), ring.values[share % kRingChunks]);
    ring.converted.store(++share, std::memory_order_release);
  }
}

}  // namespace

void ForEachPointInOrder(const SampleColumns& samples, int32_t start, int32_t end, const PointRunTaker& take) {
  if (start > end) return;
  // The angles' atan are most of the work: on a long range a second thread
  // converts two chunks in three ahead of this one, which converts the rest
  // and hands every point on in order.
  std::unique_ptr<ChunkRing> ring;
  std::thread second;
  if (end - start >= 3 * kChunkPoints) {
    ring = std::make_unique<ChunkRing>();
    try {
      second = std::thread(FillRing, std::cref(samples), start, end, std::ref(*ring));
    } catch (const std::system_error&) {
      ring.reset();
    }
  }
  std::vector<float> own_values(static_cast<size_t>(kChunkPoints) * kChannels);
  auto* own = reinterpret_cast<float(*)[kChannels]>(own_values.data());
  int64_t share = 0;
  for (int64_t chunk = 0; start + chunk * kChunkPoints <= end; ++chunk) {
    const int32_t from = static_cast<int32_t>(start + chunk * kChunkPoints);
    const int32_t to = std::min(end, from + kChunkPoints - 1);
    const float(*values)[kChannels] = own;
    const bool workers = ring && WorkersChunk(chunk);
    if (workers) {
      while (ring->converted.load(std::memory_order_acquire) <= share) std::this_thread::yield();
      values = ring->values[share % kRingChunks];
    } else {
      ConvertChunk(samples, from, to, own);
    }
    take(from, to, values);
    if (workers) ring->taken.store(++share, std::memory_order_release);
  }
  if (second.joinable()) {
    ring->stop.store(true);
    second.join();
  }
}

void Dataset::ComputeStatistics(int32_t start, int32_t end) {
  if (start < 1) start = 1;
  if (end > kMaxRecords) end = kMaxRecords;
  if (start > end) return;
  // Extremes start from the window's first point, so data beyond any fixed
  // bound still reports a value that is in the data.
  double sum[kChannels];
  ForEachPointInOrder(RealData, start, end, [&sum, start, this](int32_t from, int32_t to, const float(*run)[kChannels]) {
    for (int32_t i = from; i <= to; ++i) {
      for (int c = 0; c < kChannels; ++c) {
        const float v = run[i - from][c];
        if (i == start) {
          Stats.StatMaxValue[c] = Stats.StatMinValue[c] = v;
          Stats.StatMaxPoint[c] = Stats.StatMinPoint[c] = start;
          sum[c] = v;
          continue;
        }
        if (v > Stats.StatMaxValue[c]) {
          Stats.StatMaxValue[c] = v;
          Stats.StatMaxPoint[c] = i;
        }
        if (v < Stats.StatMinValue[c]) {
          Stats.StatMinValue[c] = v;
          Stats.StatMinPoint[c] = i;
        }
        sum[c] += v;
      }
    }
  });
  const double n = static_cast<double>(end) - start + 1;
  for (int c = 0; c < kChannels; ++c) Stats.StatAverage[c] = static_cast<float>(sum[c] / n);
}

void Dataset::ScaleAccelAxis(PlotScale& scale) const {
  float m = -100000.0f;
  for (int c = kX; c <= kV; ++c) {
    if (Stats.StatMaxValue[c] > m) m = Stats.StatMaxValue[c];
  }
  if (m <= 500.0f) {
    scale.AccelPeak = 500.0f;
    return;
  }
  scale.AccelPeak = m;
  const double r = std::floor((static_cast<double>(m) + 200.0) / 100.0) * 100.0;
  scale.AccelRangeLow = static_cast<float>(-r);
  scale.AccelScale = static_cast<float>(500.0 / r);
  scale.AccelRangeLowInt = Nearest32(-r);
  scale.AccelOffset = static_cast<int16_t>(
      Nearest32(static_cast<double>(scale.AccelRangeLowInt) * scale.AccelScale * 5.0));
}


void Dataset::ClearSlotTables() {
  for (int k = 0; k <= kSlots; ++k) {
    SlotUsed[k] = 0;
    SlotPoint[k] = 0;
  }
}

// The n >= slots rule: every slot gets at least one point, k x r points in
// all up to slot k.
void Dataset::SpreadOverSlots(int32_t start, int32_t end, int slots, bool round_product) {
  const int64_t n = static_cast<int64_t>(end) - start + 1;
  const float r = static_cast<float>(n) / static_cast<float>(slots);
  int64_t taken = 0;
  for (int k = 1; k <= slots; ++k) {
    SlotPoint[k] = static_cast<int32_t>(start + taken);
    const double product = round_product ? static_cast<double>(static_cast<float>(k * static_cast<double>(r)))
                                         : k * static_cast<double>(r);
    // Smallest c in 1..2000 with k*r <= taken + c.
    double need = std::ceil(product - static_cast<double>(taken));
    int64_t c = need < 1.0 ? 1 : static_cast<int64_t>(need);
    if (c > 2000) c = 2000;
    SlotUsed[k] = static_cast<int32_t>(c);
    taken += c;
    if (start + taken - 1 > end) {
      SlotUsed[k] = static_cast<int32_t>(c - 1);
      taken -= 1;
    }
  }
}

void Dataset::PutInSlot(int k, int32_t point) {
  SlotUsed[k] = 1;
  SlotPoint[k] = point;
}

void Dataset::MapRangeToSlots(int32_t start, int32_t end) {
  ClearSlotTables();
  const int64_t n = static_cast<int64_t>(end) - start + 1;
  if (n <= 0) return;
  if (n >= kSlots) {
    SpreadOverSlots(start, end, kSlots, false);
    return;
  }
  PutInSlot(1, start);
  if (n == 1) return;
  PutInSlot(kSlots, end);
  if (n == 2) return;
  if (n < 15) {
    const float r = 199.0f / static_cast<float>(n - 1);
    int last = 1;
    int32_t next = start + 1;
    for (int k = 2; k <= 199 && next <= end - 1; ++k) {
      if (static_cast<double>(k - last) > static_cast<double>(r)) {
        PutInSlot(k, next++);
        last = k;
      }
    }
    return;
  }
  const float r = static_cast<float>(n) / 200.0f;
  const bool strict = n >= 30;
  int64_t j = 2;
  for (int k = 2; k <= 199 && j < n; ++k) {
    const double kr = k * static_cast<double>(r);
    const double jj = static_cast<double>(j);
    if (strict ? kr > jj : kr >= jj) {
      PutInSlot(k, static_cast<int32_t>(start - 1 + j));
      ++j;
    }
  }
}

void Dataset::MapRangeToLiveSlots(int32_t start, int32_t end) {
  ClearSlotTables();
  if (static_cast<int64_t>(end) - start + 1 <= 0) return;
  SpreadOverSlots(start, end, 180, true);
}

void Dataset::MapLiveCountToSlots() {
  const int32_t n = CountPoint;
  if (n <= 0) return;
  if (n < 180) {
    ClearSlotTables();
    for (int32_t i = 1; i <= n; ++i) {
      int k;
      if (n <= 50) k = 4 * (i - 1) + 1;
      else if (n <= 99) k = 2 * (i - 1) + 1;
      else if (n <= 149) k = i < 100 ? i : 2 * (i - 100) + 101;
      else if (n <= 169) k = i < 150 ? i : 2 * (i - 150) + 151;
      else k = i < 170 ? i : 2 * (i - 170) + 171;
      PutInSlot(k, i);
    }
    return;
  }
  const int32_t since = (n - 180) % 11;
  if (since == 0) {
    DispStartPoint = 1;
    DispEndPoint = n;
    MapRangeToLiveSlots(1, n);
  } else {
    PutInSlot(180 + 2 * since, n);
  }
}

int32_t Dataset::CountZeroPoints(int32_t start, int32_t end) const {
  if (start < 1) start = 1;
  if (end > kMaxRecords) end = kMaxRecords;
  int32_t count = 0;
  for (int32_t i = start; i <= end; ++i) {
    if (RealData.IsZeroPoint(i)) ++count;
  }
  return count;
}

void Dataset::ComputeZeroPointFlags(int32_t start, int32_t end) {
  for (int k = 1; k <= kSlots; ++k) {
    bool zero = false;
    const int32_t first = SlotPoint[k];
    for (int32_t i = 0; i < SlotUsed[k] && !zero; ++i) {
      const int32_t p = first + i;
      if (p >= start && p <= end && p >= 1 && p <= kMaxRecords) zero = RealData.IsZeroPoint(p);
    }
    ZeroPointFlag[k] = zero;
  }
}

StatisticsTexts Dataset::StatisticsBoxTexts() const {
  StatisticsTexts t;
  auto stamp = [this](int32_t point) {
    if (point < 1 || point > kMaxRecords) point = 1;
    const RealDataRecord r = RealData[point];
    return RemoveBlanks(r.Date()) + " " + RemoveBlanks(r.Time());
  };
  for (int c = kX; c <= kV; ++c) {
    t.MaxText[c] = FormatDecimals(Stats.StatMaxValue[c], 0) + "   " + stamp(Stats.StatMaxPoint[c]);
    t.MinText[c] = FormatDecimals(Stats.StatMinValue[c], 0) + "   " + stamp(Stats.StatMinPoint[c]);
    t.AverageText[c] = FormatDecimals(Stats.StatAverage[c], 0);
  }
  const FileHeadRecord& p = Head;
  t.CriticalText[0] = std::to_string(p.CriticalX);
  t.CriticalText[1] = std::to_string(p.CriticalY);
  t.CriticalText[2] = std::to_string(p.CriticalZ);
  t.UnitText = "mg";
  t.StartText = std::to_string(p.StartDay) + "/" + std::to_string(p.StartMonth) + "/" +
                std::to_string(p.StartYear) + " " + std::to_string(p.StartHour) + ":" +
                std::to_string(p.StartMinute) + ":" + std::to_string(p.StartSecond);
  static const char* const kUnits[] = {" millisecond", " Second", " Minute", " Hour"};
  t.IntervalText = std::to_string(static_cast<uint16_t>(p.RecordInterval));
  if (p.IntervalUnit >= 0 && p.IntervalUnit <= 3) t.IntervalText += kUnits[p.IntervalUnit];
  t.SampleCountText = std::to_string(DeviceSampleCount);
  t.RecordModeText = p.RecordMode == 1 ? "Motion Dectection" : "Normal";
  return t;
}

}  // namespace accelog
