#pragma once
// Process-wide measurement tables and run-time counters. Every subsystem
// reads and writes them in place; ResetDataState() puts them back to the
// start-of-run values (tests use it between cases).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/menu_operation.h"

namespace accelog {

constexpr int kMaxRecords = 330000;  // RealData and RealDataNoZero hold 1..330000
constexpr int kSlots = 200;          // chart columns 1..200

struct RealDataRecord {
  int32_t No;
  int16_t Year, Month, Day, Hour, Minute, Second;
  float X, Y, Z, V, AX, AY, AZ;
  int32_t PlotX, PlotY, PlotZ, PlotV;
  float PlotAX, PlotAY, PlotAZ;
  char DateText[10];  // "d/m/yyyy", blank padded
  char TimeText[8];   // "h:m:s", blank padded

  // The texts without their padding.
  std::string_view Date() const;
  std::string_view Time() const;
  bool IsZeroPoint() const { return X == 0.0f && Y == 0.0f && Z == 0.0f; }
};

struct Complex {
  double Re;
  double Im;
};

// Where each point of each curve lies on the chart (and, in the spectrum
// view, the spectra's lines), 1-based; points never placed read as 0.
struct PlotColumns {
  std::vector<int32_t> X, Y, Z, V;
  std::vector<float> AX, AY, AZ;
  void Resize(int32_t n);
  void Clear();
};

// A clock reading, year in full.
struct ClockFields {
  int16_t Year, Month, Day, Hour, Minute, Second, Millisecond;
};

// A point's clock fields as they were stamped when it was read or captured.
struct PointTime {
  int16_t Year;
  int8_t Month, Day, Hour, Minute, Second;
  bool Stamped;  // false: never stamped, its texts are empty
};

// The samples as columns of raw counts, 1-based; the mg values, angles and
// texts are made when a point is looked at. A point past the last one set
// reads as an all-zero sample without texts, as a fixed zeroed table did.
class SampleColumns {
 public:
  // The plot positions a point shows with its values.
  explicit SampleColumns(const PlotColumns& plot) : plot_(plot) {}
  // The whole point: values, time fields, texts and plot positions.
  RealDataRecord operator[](int32_t i) const;
  // One channel (kX..kAZ) of point i, exactly as the whole point has it.
  float Value(int channel, int32_t i) const;
  bool IsZeroPoint(int32_t i) const {
    return i < 1 || i > Size() || (x_[i] == 0 && y_[i] == 0 && z_[i] == 0);
  }
  void SetSample(int32_t i, int16_t x, int16_t y, int16_t z);
  void SetTime(int32_t i, const PointTime& t);
  // Points of a recording follow one another at a fixed interval from its
  // start: their times are worked out when asked for, not stored.
  void SetRegularTimes(const ClockFields& start, int64_t interval_ms);
  PointTime Time(int32_t i) const;
  int16_t RawX(int32_t i) const { return i >= 1 && i <= Size() ? x_[i] : 0; }
  int16_t RawY(int32_t i) const { return i >= 1 && i <= Size() ? y_[i] : 0; }
  int16_t RawZ(int32_t i) const { return i >= 1 && i <= Size() ? z_[i] : 0; }
  // Points 1..n hold samples; later ones are dropped.
  void Resize(int32_t n);
  void Clear();
  int32_t Size() const { return x_.empty() ? 0 : static_cast<int32_t>(x_.size()) - 1; }

 private:
  std::vector<int16_t> x_, y_, z_;
  std::vector<PointTime> time_;
  bool regular_ = false;
  ClockFields start_{};
  int64_t interval_ms_ = 0;
  const PlotColumns& plot_;
};

// The points that are not all-zero, in order: their point numbers, 1-based.
class NonZeroPoints {
 public:
  explicit NonZeroPoints(const SampleColumns& samples) : samples_(samples) {}
  RealDataRecord operator[](int32_t k) const { return samples_[Point(k)]; }
  int32_t Point(int32_t k) const { return k >= 1 && k < static_cast<int32_t>(points_.size()) ? points_[k] : 0; }
  std::vector<int32_t>& Points() { return points_; }
  const std::vector<int32_t>& Points() const { return points_; }

 private:
  const SampleColumns& samples_;
  std::vector<int32_t> points_{0};
};

// The head of the file on view, as read from it. Kept apart from the
// recording parameters: opening a file never changes what the next set-up
// or capture uses.
struct FileHeadRecord {
  int16_t RecordInterval;
  int16_t IntervalUnit;  // 0 ms, 1 s, 2 min, 3 h
  int16_t LedCycle;
  int16_t CriticalX, CriticalY, CriticalZ;
  int16_t RecordMode, WorkMode;
  int16_t StartYear, StartMonth, StartDay, StartHour, StartMinute, StartSecond;
};

struct DataState {
  // Both are indexed from 1; a point is looked at as a RealDataRecord.
  PlotColumns Plot;
  SampleColumns RealData{Plot};
  // Valid after BuildNoZeroCopy(): whoever reads it calls that first.
  NonZeroPoints RealDataNoZero{RealData};
  // The CountPoint RealDataNoZero was built for; -1 once X, Y or Z of any
  // record changed since (whatever writes them sets it).
  int32_t NoZeroCopySource;

  int32_t SlotUsed[kSlots + 1];
  int32_t SlotPoint[kSlots + 1];
  bool ZeroPointFlag[kSlots + 1];

  int16_t FFTMemory[3001];
  std::vector<Complex> FFTInput;
  std::vector<Complex> FFTOutput;
  Complex FFTTwiddle[512];
  Complex FFTWork[1024];

  int32_t CountPoint;
  int32_t CountPointNoZero;
  int32_t DispStartPoint;
  int32_t DispEndPoint;

  int16_t ClockYear, ClockMonth, ClockDay, ClockHour, ClockMinute, ClockSecond,
      ClockMillisecond;
  int16_t RawX, RawY, RawZ;

  bool DataLoaded;
  std::string DataFileName;
  std::string DownloadFileName;
  int16_t DownloadFileNumber;
  int32_t DownloadBytesWritten;
  int32_t DeviceSampleCount;  // the head's 32-bit count, signed
  FileHeadRecord Head;
  bool FrequencyFileLoaded;
  bool FrequencyView;  // the chart shows spectrum data
  int16_t RealFileNumber;
  int32_t RealFilePosition;
  MenuOperation MenuCommandCode;  // menu operation in progress
};

extern DataState Data;

// Fresh zero tables and start-of-run values everywhere.
void ResetDataState();

}  // namespace accelog
