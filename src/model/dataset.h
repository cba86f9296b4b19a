#pragma once
// The samples of the file or capture on view, as columns, with what is
// derived from them (head, counts, statistics, column map, spectra) and the
// records a point is looked at through. Each window, command or test owns
// one Dataset and hands it to the chart, the device and the export.
#include <cstdint>
#include <cstdio>
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
  bool IsZeroPoint(int32_t i) const {
    return i < 1 || i > Size() || (x_[i] == 0 && y_[i] == 0 && z_[i] == 0);
  }
  void SetSample(int32_t i, int16_t x, int16_t y, int16_t z);
  // Points 1..n from n file samples of 6 bytes (X, Y, Z low byte first).
  void FillFromBytes(const uint8_t* bytes, int32_t n);
  void SetTime(int32_t i, const PointTime& t);
  // Points of a recording follow one another at a fixed interval from its
  // start: their times are worked out when asked for, not stored.
  void SetRegularTimes(const ClockFields& start, int64_t interval_ms);
  PointTime Time(int32_t i) const;
  // Milliseconds past Time(i)'s second: only a regular recording has them.
  int32_t Millisecond(int32_t i) const;
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

enum Channel { kX = 0, kY, kZ, kV, kAX, kAY, kAZ, kChannels };

// A chart's factors from mg and degrees to its drawing units; the chart
// owns them, the plot positions read them.
struct PlotScale {
  float TwipsPerUnitY = 1.0f;
  float AccelScale = 1.0f;  // drawing units per mg
  float AngleScale = 2.0f;  // drawing units per degree: 25 per degree is 12.5 x 2
  float AccelRangeLow = -500.0f;
  // Nearest(AccelRangeLow). Wider than 16 bits: a vector sum of full-scale
  // counts puts the axis beyond -32768 mg.
  int32_t AccelRangeLowInt = -500;
  int16_t AccelOffset = -2500;
  float AccelPeak = 500.0f;
};

// Extremes and averages of a window of points, per channel.
struct Statistics {
  float StatMaxValue[kChannels];
  float StatMinValue[kChannels];
  int32_t StatMaxPoint[kChannels];
  int32_t StatMinPoint[kChannels];
  float StatAverage[kChannels];
};

// The texts DispMaxMin puts into the chart window's statistics boxes.
struct StatisticsTexts {
  std::string MaxText[4];  // X, Y, Z, V: value, three blanks, date, blank, time
  std::string MinText[4];
  std::string AverageText[4];
  std::string CriticalText[3];
  std::string UnitText;      // "mg"
  std::string StartText;     // d/m/yy h:m:s of the file head
  std::string IntervalText;  // "500 millisecond"
  std::string SampleCountText;
  std::string RecordModeText;  // "Normal" or "Motion Dectection"
};

// Window applied to the 256 samples before the transform. None keeps every
// number as the system has always computed it; Hann is scaled by 2 so that a
// tone keeps its height.
enum class SpectrumWindow { None, Hann };

// Opening a file for the "Frequency" view.
enum class FrequencyFileResult { Ok, TooMuchData, NoData, TooFewPoints, NotLoggerFile };

// Opening a file for viewing.
enum class OpenResult { Ok, TooMuchData, DataError, NotLoggerFile };

// What opening a file came to. A refusal carries the message its caller shows
// the user, and whether it shows as a warning.
template <class Result>
struct FileOutcome {
  Result result = Result::Ok;
  std::string message;
  bool warning = false;
  bool operator==(Result r) const { return result == r; }
};
using OpenOutcome = FileOutcome<OpenResult>;
using FrequencyFileOutcome = FileOutcome<FrequencyFileResult>;

// Rows 1.. of the non-zero points.
struct ExportRows {
  int32_t first = 1;
  int32_t last = 0;
  int32_t Count() const { return last >= first ? last - first + 1 : 0; }
};

struct RecordingParameters;

// The samples of the file or capture on view and what is derived from them:
// head, counts, statistics, column map, spectra. One per window, command or
// test; nothing else keeps a copy.
class Dataset {
 public:
  Dataset();
  ~Dataset();
  Dataset(const Dataset&) = delete;
  Dataset& operator=(const Dataset&) = delete;

  // Reading files.
  // The head into Head and DeviceSampleCount; missing bytes read as zero.
  // False when the file cannot be opened.
  bool ReadFileHead(const std::string& file_name);
  void ReadHeadBytes(const uint8_t* head);
  // RealData(1..) from the samples; returns the number of points filled, one
  // per started 6-byte group and never fewer than CountPoint.
  int32_t ReadAllPoints(const std::string& file_name);
  // The same from bytes in memory, timed from the head's start.
  void ReadPointBytes(const uint8_t* bytes, int32_t records);
  // The data side of opening a file for viewing: head, count, limits,
  // points, statistics and the column map. A refusal says "Too much data =
  // N", "Data is error !" or "FILE: not a logger file (...)" (a warning).
  // SamplesOnly leaves out the statistics and the column map, for callers
  // that compute their own from the points.
  enum class OpenScope { View, SamplesOnly };
  OpenOutcome Open(const std::string& file_name, OpenScope scope = OpenScope::View);
  // RealDataNoZero made current; costs nothing when it already is.
  void BuildNoZeroCopy();

  // Capture files: positions 1..9 and 14..19 of a new one, then samples.
  bool WriteCaptureHead(const std::string& file_name, const RecordingParameters& p);
  bool OpenCaptureFile(const std::string& file_name);
  // Bytes at 1-based positions, handed to the kernel at once.
  bool WriteCaptureBytes(int32_t position, const uint8_t* bytes, int count);
  // Cut to `length` bytes, so a sample written in part is not kept.
  bool TruncateCaptureFile(int32_t length);
  // False when the last bytes could not be written.
  bool CloseCaptureFile();

  // Live points: the last raw sample (RawX..RawZ) appended at the clock's time.
  void AppendLiveSample();
  void ClearLiveSlots();
  void MapLiveCountToSlots();

  // Derived values.
  void ComputeStatistics(int32_t start, int32_t end);
  // The mg axis from the statistics' largest X..V maximum; below 500 mg only
  // AccelPeak changes.
  void ScaleAccelAxis(PlotScale& scale) const;
  // Plot positions of points 1..CountPoint in a chart's drawing units.
  void ComputePlotPositions(const PlotScale& scale);
  void ComputeAccelPlotPositions(const PlotScale& scale);
  void MapRangeToSlots(int32_t start, int32_t end);
  void MapRangeToLiveSlots(int32_t start, int32_t end);
  int32_t CountZeroPoints(int32_t start, int32_t end) const;
  // Which columns hold an all-zero point; the chart hides their markers.
  void ComputeZeroPointFlags(int32_t start, int32_t end);
  // The statistics panel's texts.
  StatisticsTexts StatisticsBoxTexts() const;
  void AdvanceClock(int64_t interval_ms);

  // Spectra of points 1..256 into plot columns X..Z of points 1..128.
  void FFT(int16_t order);
  void SpectrumX();
  void SpectrumY();
  void SpectrumZ();
  // The spectrum capture's head into FFTMemory(1..19); sets interval 4 ms,
  // unit 0 and work mode 1 in `p`.
  void WriteSpectrumHead(RecordingParameters& p);
  void ReadSpectrumMemoryHead();
  int32_t ReadSpectrumMemoryPoints();
  // CountPoint 256 shown as 1..256: axis-free side of the raw samples' view.
  void FrequencyDataPoints();
  void FrequencySpectra();
  void FrequencySpectrumPoints();
  // A file for the "Frequency" view: a refusal (always a warning) leaves the
  // points unchanged; `count` gets the file's count.
  FrequencyFileOutcome ReadFrequencyFile(const std::string& file_name, int32_t* count = nullptr);

  // Export rows.
  ExportRows AllNoZeroRows();
  ExportRows NoZeroRowsBetween(int32_t from, int32_t to);


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

  Statistics Stats;
  SpectrumWindow Window = SpectrumWindow::None;  // the spectra's window
  // Each axis's mean of the 256 samples taken off before the transform, so
  // line 1 no longer holds gravity and offsets.
  bool RemoveMean = false;

 private:
  void PlacePoints(const PlotScale& scale, bool angles);
  void ClearSlotTables();
  void SpreadOverSlots(int32_t start, int32_t end, int slots, bool round_product);
  void PutInSlot(int k, int32_t point);
  void SpectrumOf(float RealDataRecord::*field, std::vector<int32_t> PlotColumns::*plot);

  std::FILE* capture_ = nullptr;  // the capture file being written
};


}  // namespace accelog
