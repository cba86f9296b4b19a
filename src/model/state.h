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

// A record table straight from the kernel: its pages are zero and cost
// nothing until a record is written.
struct FreeRecordTable {
  void operator()(RealDataRecord* table) const;
};
using RecordTable = std::unique_ptr<RealDataRecord[], FreeRecordTable>;

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
  // Both tables are indexed 1..kMaxRecords; element 0 is unused.
  RecordTable RealData;
  // Valid after BuildNoZeroCopy(): whoever reads it calls that first.
  RecordTable RealDataNoZero;
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
