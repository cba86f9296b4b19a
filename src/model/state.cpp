#include "model/state.h"

#include <cstring>
#include <new>

namespace accelog {

DataState Data;

namespace {
std::string_view Trimmed(const char* text, size_t width) {
  size_t n = width;
  while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\0')) --n;
  return {text, n};
}
}  // namespace

std::string_view RealDataRecord::Date() const { return Trimmed(DateText, sizeof DateText); }
std::string_view RealDataRecord::Time() const { return Trimmed(TimeText, sizeof TimeText); }

void ResetDataState() {
  Data.RealData.Clear();
  Data.Plot.Clear();
  Data.RealDataNoZero.Points().assign(1, 0);
  Data.NoZeroCopySource = 0;  // both empty
  std::memset(Data.SlotUsed, 0, sizeof Data.SlotUsed);
  std::memset(Data.SlotPoint, 0, sizeof Data.SlotPoint);
  std::memset(Data.ZeroPointFlag, 0, sizeof Data.ZeroPointFlag);
  std::memset(Data.FFTMemory, 0, sizeof Data.FFTMemory);
  Data.FFTInput.clear();
  Data.FFTOutput.clear();
  std::memset(Data.FFTTwiddle, 0, sizeof Data.FFTTwiddle);
  std::memset(Data.FFTWork, 0, sizeof Data.FFTWork);
  Data.CountPoint = Data.CountPointNoZero = 0;
  Data.DispStartPoint = Data.DispEndPoint = 0;
  Data.ClockYear = Data.ClockMonth = Data.ClockDay = 0;
  Data.ClockHour = Data.ClockMinute = Data.ClockSecond = Data.ClockMillisecond = 0;
  Data.RawX = Data.RawY = Data.RawZ = 0;
  Data.DataLoaded = false;
  Data.DataFileName.clear();
  Data.DownloadFileName.clear();
  Data.DownloadFileNumber = 0;
  Data.DownloadBytesWritten = 0;
  Data.DeviceSampleCount = 0;
  Data.Head = FileHeadRecord{};
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  Data.RealFileNumber = 0;
  Data.RealFilePosition = 0;
  Data.MenuCommandCode = MenuOperation::None;
}

}  // namespace accelog
