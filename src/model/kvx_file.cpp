#include "model/kvx_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "model/conversion.h"
#include "model/file_util.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "model/machine_parameter.h"

namespace accelog {

namespace {

// A regular file only: a folder or a device is no data file.
std::FILE* OpenForReading(const std::string& name) {
  struct stat st {};
  if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  return std::fopen(name.c_str(), "rb");
}

int64_t Length(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
  const long n = std::ftell(f);
  std::rewind(f);
  return n;
}

}  // namespace

void Dataset::ReadHeadBytes(const uint8_t* h) {
  FileHeadRecord& p = Head;
  p.RecordInterval = static_cast<int16_t>(static_cast<uint16_t>(h[0] << 8 | h[1]));
  p.IntervalUnit = h[2];
  p.LedCycle = h[3];
  p.CriticalX = h[4];
  p.CriticalY = h[5];
  p.CriticalZ = h[6];
  p.RecordMode = h[7];
  p.WorkMode = h[8];
  DeviceSampleCount = static_cast<int32_t>(static_cast<uint32_t>(h[9]) << 24 | static_cast<uint32_t>(h[10]) << 16 |
                                                static_cast<uint32_t>(h[11]) << 8 | h[12]);
  p.StartYear = h[13];
  p.StartMonth = h[14];
  p.StartDay = h[15];
  p.StartHour = h[16];
  p.StartMinute = h[17];
  p.StartSecond = h[18];
}

std::string HeadProblem(const FileHeadRecord& h) {
  const struct {
    const char* field;
    int16_t value, low, high;
  } fields[] = {
      {"interval unit", h.IntervalUnit, 0, 3}, {"start month", h.StartMonth, 1, 12},
      {"start day", h.StartDay, 1, 31},        {"start hour", h.StartHour, 0, 23},
      {"start minute", h.StartMinute, 0, 59},  {"start second", h.StartSecond, 0, 59},
  };
  for (const auto& f : fields) {
    if (f.value < f.low || f.value > f.high) return std::string(f.field) + " " + std::to_string(f.value);
  }
  return {};
}

std::string NotLoggerFileMessage(const std::string& file_name, const std::string& problem) {
  return file_name + ": not a logger file (" + problem + ")";
}

bool Dataset::ReadFileHead(const std::string& file_name) {
  uint8_t h[kHeadBytes] = {};
  std::FILE* f = OpenForReading(file_name);
  if (!f) return false;
  const size_t got = std::fread(h, 1, sizeof h, f);
  (void)got;  // bytes past the end stay zero
  std::fclose(f);
  ReadHeadBytes(h);
  return true;
}

int32_t CountFilePoints(const std::string& file_name) {
  std::FILE* f = OpenForReading(file_name);
  if (!f) return 0;
  const int64_t length = Length(f);
  std::fclose(f);
  if (length < 0) return 0;
  const double points = std::nearbyint(static_cast<double>(length - kHeadBytes) / kSampleBytes);
  if (points > 2147483647.0) return 2147483647;
  return static_cast<int32_t>(points);
}

int32_t Dataset::ReadAllPoints(const std::string& file_name) {
  std::FILE* f = OpenForReading(file_name);
  int64_t length = f ? Length(f) : 0;
  if (length < 0) length = 0;
  // One record per started 6-byte group, never more than the table holds,
  // and never fewer than the count already taken (a file that shrank since).
  int64_t records = length > kHeadBytes ? (length - kHeadBytes + kSampleBytes - 1) / kSampleBytes : 0;
  if (records < CountPoint) records = CountPoint;
  if (records > kMaxRecords) records = kMaxRecords;
  DownloadBytesWritten = static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));

  // Not zeroed first: only the bytes a short read leaves are.
  const size_t size = static_cast<size_t>(records) * kSampleBytes;
  std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
  size_t got = 0;
  if (f) {
    if (std::fseek(f, kHeadBytes, SEEK_SET) == 0) got = std::fread(bytes.get(), 1, size, f);
    std::fclose(f);
  }
  std::memset(bytes.get() + got, 0, size - got);  // missing bytes read as 0
  ReadPointBytes(bytes.get(), static_cast<int32_t>(records));
  return static_cast<int32_t>(records);
}

void Dataset::ReadPointBytes(const uint8_t* bytes, int32_t records) {
  const FileHeadRecord& head = Head;
  ClockYear = static_cast<int16_t>(head.StartYear + 2000);
  ClockMonth = head.StartMonth;
  ClockDay = head.StartDay;
  ClockHour = head.StartHour;
  ClockMinute = head.StartMinute;
  ClockSecond = head.StartSecond;
  ClockMillisecond = 0;
  const int64_t interval = IntervalMilliseconds(static_cast<uint16_t>(head.RecordInterval), head.IntervalUnit);

  NoZeroCopySource = -1;
  // The samples stay raw counts; mg values, angles and texts are made when
  // a point is looked at.
  const int32_t last = records;
  SampleColumns& samples = RealData;
  samples.FillFromBytes(bytes, last);
  Plot.Clear();

  const ClockFields clock{ClockYear, ClockMonth, ClockDay, ClockHour, ClockMinute,
                          ClockSecond, 0};
  samples.SetRegularTimes(clock, interval);
  // The clock ends one interval past the last point, as stepping through them leaves it.
  const ClockFields end = ClockAfter(clock, int64_t{last} * interval);
  ClockYear = end.Year, ClockMonth = end.Month, ClockDay = end.Day, ClockHour = end.Hour;
  ClockMinute = end.Minute, ClockSecond = end.Second, ClockMillisecond = end.Millisecond;
}

void Dataset::BuildNoZeroCopy() {
  if (NoZeroCopySource == CountPoint) return;  // already current
  std::vector<int32_t>& points = RealDataNoZero.Points();
  points.assign(1, 0);
  for (int32_t i = 1; i <= CountPoint && i <= kMaxRecords; ++i) {
    if (!RealData.IsZeroPoint(i)) points.push_back(i);
  }
  const int32_t n = static_cast<int32_t>(points.size()) - 1;
  CountPointNoZero = n;
  NoZeroCopySource = CountPoint;
}

bool Dataset::WriteCaptureHead(const std::string& file_name, const RecordingParameters& p) {
  // A new capture starts empty: nothing of an older file may follow its head.
  std::FILE* f = std::fopen(file_name.c_str(), "w+b");
  if (!f) return false;
  const uint8_t a[9] = {HighByte(p.RecordInterval), LowByte(p.RecordInterval),
                        static_cast<uint8_t>(p.IntervalUnit), static_cast<uint8_t>(p.LedCycle),
                        static_cast<uint8_t>(p.CriticalX), static_cast<uint8_t>(p.CriticalY),
                        static_cast<uint8_t>(p.CriticalZ), static_cast<uint8_t>(p.RecordMode),
                        static_cast<uint8_t>(p.WorkMode)};
  const uint8_t b[6] = {static_cast<uint8_t>(p.CurYear), static_cast<uint8_t>(p.CurMonth),
                        static_cast<uint8_t>(p.CurDay), static_cast<uint8_t>(p.CurHour),
                        static_cast<uint8_t>(p.CurMinute), static_cast<uint8_t>(p.CurSecond)};
  bool ok = std::fwrite(a, 1, sizeof a, f) == sizeof a;
  ok = ok && std::fseek(f, 13, SEEK_SET) == 0 && std::fwrite(b, 1, sizeof b, f) == sizeof b;
  ok = (std::fclose(f) == 0) && ok;
  // The capture's head is the one on view from now on.
  uint8_t head[kHeadBytes] = {};
  std::memcpy(head, a, sizeof a);
  std::memcpy(head + 13, b, sizeof b);
  ReadHeadBytes(head);
  return ok;
}

bool Dataset::OpenCaptureFile(const std::string& file_name) {
  CloseCaptureFile();
  capture_ = OpenForUpdate(file_name);
  // Unbuffered: a sample is in the kernel once written, and a failed write
  // leaves nothing behind to fail the head's count after it.
  if (capture_) std::setvbuf(capture_, nullptr, _IONBF, 0);
  RealFileNumber = capture_ ? 1 : 0;
  RealFilePosition = kHeadBytes;
  return capture_ != nullptr;
}

bool Dataset::WriteCaptureBytes(int32_t position, const uint8_t* bytes, int count) {
  if (!capture_ || position < 1 || count < 0) return false;
  if (std::fseek(capture_, position - 1L, SEEK_SET) != 0) return false;
  return std::fwrite(bytes, 1, static_cast<size_t>(count), capture_) == static_cast<size_t>(count) &&
         std::fflush(capture_) == 0;
}

bool Dataset::TruncateCaptureFile(int32_t length) {
  return capture_ && std::fflush(capture_) == 0 && ::ftruncate(fileno(capture_), length) == 0;
}

bool Dataset::CloseCaptureFile() {
  const bool ok = !capture_ || std::fclose(capture_) == 0;
  capture_ = nullptr;
  RealFileNumber = 0;
  return ok;
}

std::string IncompleteFileText(int32_t samples_in_file, int32_t head_count) {
  if (head_count <= samples_in_file) return {};
  return std::to_string(samples_in_file) + " of " + std::to_string(head_count) +
         " samples: the download was not finished";
}

std::string OpenResultMessage(OpenResult result, int32_t count) {
  switch (result) {
    case OpenResult::TooMuchData: return "Too much data =" + NumberText(static_cast<long long>(count));
    case OpenResult::DataError: return "Data is error !";
    default: return {};
  }
}

OpenOutcome Dataset::Open(const std::string& file_name, OpenScope scope) {
  ReadFileHead(file_name);
  int32_t count = CountFilePoints(file_name);
  ReadFileHead(file_name);
  if (count < kTooManyPoints) count = CountFilePoints(file_name);
  if (count >= kTooManyPoints) {
    // Idle again, or every menu would go on refusing work.
    MenuCommandCode = MenuOperation::None;
    return {OpenResult::TooMuchData, OpenResultMessage(OpenResult::TooMuchData, count), false};
  }
  if (count <= 1) {
    MenuCommandCode = MenuOperation::None;
    CountPoint = 0;
    return {OpenResult::DataError, OpenResultMessage(OpenResult::DataError, count), false};
  }
  // A head no logger writes: a text file or some other data, not samples.
  if (const std::string problem = HeadProblem(Head); !problem.empty()) {
    MenuCommandCode = MenuOperation::None;
    CountPoint = 0;
    return {OpenResult::NotLoggerFile, NotLoggerFileMessage(file_name, problem), true};
  }
  CountPoint = count;
  DispEndPoint = count;
  DispStartPoint = 1;
  DataLoaded = true;
  ReadAllPoints(file_name);
  // RealDataNoZero waits for its first reader (BuildNoZeroCopy); the count is cheap.
  CountPointNoZero = CountPoint - CountZeroPoints(1, CountPoint);
  if (scope == OpenScope::View) {
    ComputeStatistics(1, CountPoint);
    MapRangeToSlots(DispStartPoint, DispEndPoint);
  }
  MenuCommandCode = MenuOperation::None;
  return {};
}

}  // namespace accelog
