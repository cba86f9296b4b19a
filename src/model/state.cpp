#include "model/state.h"

#include <sys/mman.h>

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

namespace {
constexpr size_t kTableBytes = sizeof(RealDataRecord) * (kMaxRecords + 1);

// Anonymous pages read as zero and are mapped only when written: a reset
// costs nothing per record, and a file uses only the memory of its records.
RecordTable ZeroTable() {
  void* p = ::mmap(nullptr, kTableBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  // 2 MB pages where the kernel has them: a large file takes a few faults
  // rather than thousands.
  ::madvise(p, kTableBytes, MADV_HUGEPAGE);
  return RecordTable(static_cast<RealDataRecord*>(p));
}
}  // namespace

void FreeRecordTable::operator()(RealDataRecord* table) const { ::munmap(table, kTableBytes); }

void ResetDataState() {
  Data.RealData = ZeroTable();
  Data.RealDataNoZero = ZeroTable();
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
