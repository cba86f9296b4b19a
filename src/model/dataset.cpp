#include "model/dataset.h"

#include <cstring>
#include <new>

namespace accelog {

namespace {
std::string_view Trimmed(const char* text, size_t width) {
  size_t n = width;
  while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\0')) --n;
  return {text, n};
}
}  // namespace

std::string_view RealDataRecord::Date() const { return Trimmed(DateText, sizeof DateText); }
std::string_view RealDataRecord::Time() const { return Trimmed(TimeText, sizeof TimeText); }

Dataset::Dataset() {
  NoZeroCopySource = 0;  // both empty
  std::memset(SlotUsed, 0, sizeof SlotUsed);
  std::memset(SlotPoint, 0, sizeof SlotPoint);
  std::memset(ZeroPointFlag, 0, sizeof ZeroPointFlag);
  std::memset(FFTMemory, 0, sizeof FFTMemory);
  std::memset(FFTTwiddle, 0, sizeof FFTTwiddle);
  std::memset(FFTWork, 0, sizeof FFTWork);
  CountPoint = CountPointNoZero = 0;
  DispStartPoint = DispEndPoint = 0;
  ClockYear = ClockMonth = ClockDay = 0;
  ClockHour = ClockMinute = ClockSecond = ClockMillisecond = 0;
  RawX = RawY = RawZ = 0;
  DataLoaded = false;
  DownloadFileNumber = 0;
  DownloadBytesWritten = 0;
  DeviceSampleCount = 0;
  Head = FileHeadRecord{};
  FrequencyFileLoaded = false;
  FrequencyView = false;
  RealFileNumber = 0;
  RealFilePosition = 0;
  MenuCommandCode = MenuOperation::None;
  Stats = Statistics{};
  for (int c = 0; c < kChannels; ++c) Stats.StatMaxPoint[c] = Stats.StatMinPoint[c] = 1;
}

Dataset::~Dataset() { CloseCaptureFile(); }

}  // namespace accelog
