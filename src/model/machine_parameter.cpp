#include "model/machine_parameter.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "model/file_util.h"
#include "model/staged_file.h"
#include "model/text_util.h"

namespace accelog {

namespace {

constexpr int kIntegerRecords = 39;
constexpr size_t kStringRecord = 50;

struct IntField {
  int rec;
  int16_t RecordingParameters::*field;
  int lo, hi;  // valid range; lo > hi means "any value"
};

// The records both writers and the reader share, with their valid ranges.
const IntField kFields[] = {
    {1, &RecordingParameters::ComPort, 1, 49},
    {2, &RecordingParameters::RecordInterval, 1, 32767},
    {3, &RecordingParameters::IntervalUnit, 0, 3},
    {4, &RecordingParameters::LedCycle, 0, 16},
    {5, &RecordingParameters::CriticalX, 1, 16},
    {6, &RecordingParameters::CriticalY, 1, 16},
    {7, &RecordingParameters::CriticalZ, 1, 16},
    {8, &RecordingParameters::RecordMode, 0, 1},
    {9, &RecordingParameters::WorkMode, 0, 2},
    {10, &RecordingParameters::CurYear, 13, 50},
    {11, &RecordingParameters::CurMonth, 1, 12},
    {12, &RecordingParameters::CurDay, 1, 31},
    {13, &RecordingParameters::CurHour, 0, 23},
    {14, &RecordingParameters::CurMinute, 0, 59},
    {15, &RecordingParameters::CurSecond, 0, 59},
    {16, &RecordingParameters::StartYear, 13, 50},
    {17, &RecordingParameters::StartMonth, 1, 12},
    {18, &RecordingParameters::StartDay, 1, 31},
    {19, &RecordingParameters::StartHour, 0, 23},
    {20, &RecordingParameters::StartMinute, 0, 59},
    {21, &RecordingParameters::StartSecond, 0, 59},
    {22, &RecordingParameters::LimitTime, 1, 32767},
    {23, &RecordingParameters::LanguageFlag, 0, 1},
    {24, &RecordingParameters::LimitKind, 0, 1},
    {31, &RecordingParameters::PaperKind, 0, 5},
    {32, &RecordingParameters::PaperDirection, 1, 0},
    {33, &RecordingParameters::MarginLeft, 0, 32767},
    {34, &RecordingParameters::MarginRight, 0, 32767},
    {35, &RecordingParameters::MarginTop, 0, 32767},
    {36, &RecordingParameters::MarginDown, 0, 32767},
    {37, &RecordingParameters::PaperWidth, 1, 32767},
    {38, &RecordingParameters::PaperHeight, 1, 32767},
};

std::tm Now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

// Whether the file holds the whole record.
bool HasRecord(long length, int rec) { return 2L * rec <= length; }

int16_t ReadRecord(const unsigned char* image, int rec) {
  const long at = 2L * (rec - 1);
  return static_cast<int16_t>(static_cast<uint16_t>(image[at] | (image[at + 1] << 8)));
}

std::string PadRecord(const std::string& text) {
  std::string s = CutUtf8(text, kStringRecord);
  s.resize(kStringRecord, ' ');
  return s;
}

bool WriteStringRecords(const std::string& path, const std::string& path_text,
                        const std::string& drive_text) {
  std::FILE* f = OpenForUpdate(path);
  if (!f) return false;
  const std::string image = PadRecord(path_text) + PadRecord(drive_text);
  bool ok = std::fseek(f, 0, SEEK_SET) == 0 &&
            std::fwrite(image.data(), 1, image.size(), f) == image.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

void SetCurFromClock(RecordingParameters& p) {
  const std::tm tm = Now();
  p.CurYear = static_cast<int16_t>(tm.tm_year + 1900 - 2000);
  p.CurMonth = static_cast<int16_t>(tm.tm_mon + 1);
  p.CurDay = static_cast<int16_t>(tm.tm_mday);
  p.CurHour = static_cast<int16_t>(tm.tm_hour);
  p.CurMinute = static_cast<int16_t>(tm.tm_min);
  p.CurSecond = static_cast<int16_t>(std::min(tm.tm_sec, 59));  // no leap second
}

void SetStartFromClock(RecordingParameters& p) {
  const std::tm tm = Now();
  p.StartYear = static_cast<int16_t>(tm.tm_year + 1900 - 2000);
  p.StartMonth = static_cast<int16_t>(tm.tm_mon + 1);
  p.StartDay = static_cast<int16_t>(tm.tm_mday);
  p.StartHour = static_cast<int16_t>(tm.tm_hour);
  p.StartMinute = static_cast<int16_t>(tm.tm_min);
  p.StartSecond = static_cast<int16_t>(std::min(tm.tm_sec, 59));
}

void ApplyDefaults(RecordingParameters& p) {
  p.IntervalUnit = 0;
  p.CriticalX = p.CriticalY = p.CriticalZ = 16;
  p.LedCycle = 0;
  p.RecordMode = 0;
  p.WorkMode = 0;
  p.ComPort = 1;
  p.RecordInterval = 500;
  SetCurFromClock(p);
  SetStartFromClock(p);
  p.LimitTime = 100;
  p.LanguageFlag = 0;
  p.LimitKind = 0;
  p.PaperKind = 0;
  p.PaperDirection = 1;
  p.MarginLeft = 4;
  p.MarginRight = 5;
  p.MarginTop = 50;
  p.MarginDown = 10;
  p.PaperWidth = 210;
  p.PaperHeight = 297;
  p.PictureScale = 90 / 100.0f;
  p.PictureMoveDown = 0;
  p.PictureMoveRight = 0;
}

bool PictureScaleAccepted(double scale) {
  return scale <= 10 && std::nearbyint(scale * 100) >= 1;
}

std::vector<int> ParameterStore::ReadRecords() {
  std::vector<int> refused;
  std::FILE* f = OpenForUpdate(File(kIntegerFileName));
  long length = f ? FileLength(f) : 0;
  unsigned char image[2 * kIntegerRecords] = {};
  if (f && length / 2 > 0 && std::fseek(f, 0, SEEK_SET) == 0) {
    length = static_cast<long>(std::fread(image, 1, sizeof image, f));
  }
  if (f) std::fclose(f);

  ApplyDefaults(values_);
  if (length / 2 <= 0) return refused;

  // A record outside its valid range keeps its default, so a damaged file
  // never puts an interval of 0 or a unit of 9 into later arithmetic.
  auto& p = values_;
  // Records beyond the end of the file (the first OK writes only 1..24)
  // keep their defaults too.
  for (const IntField& fd : kFields) {
    if (!HasRecord(length, fd.rec)) continue;
    const int16_t v = ReadRecord(image, fd.rec);
    if (fd.lo > fd.hi || (v >= fd.lo && v <= fd.hi)) p.*fd.field = v;
    else refused.push_back(fd.rec);
  }
  if (!HasRecord(length, 39)) return refused;
  const int16_t percent = ReadRecord(image, 39);
  if (PictureScaleAccepted(percent / 100.0)) p.PictureScale = percent / 100.0f;
  else refused.push_back(39);
  return refused;
}

void ParameterStore::ReadDataFolder() {
  auto& p = values_;
  const std::string path = File(kStringFileName);
  std::FILE* f = OpenForUpdate(path);
  long length = f ? FileLength(f) : 0;
  char image[2 * kStringRecord];
  std::fill(std::begin(image), std::end(image), ' ');
  if (f && length / static_cast<long>(kStringRecord) > 0 && std::fseek(f, 0, SEEK_SET) == 0) {
    length = static_cast<long>(std::fread(image, 1, sizeof image, f));
  }
  if (f) std::fclose(f);

  if (length / static_cast<long>(kStringRecord) <= 0) {
    p.DataPath = "c:\\";
    p.DataDrive = "c:";
    WriteStringRecords(path, p.DataPath, p.DataDrive);
    return;
  }
  p.DataPath = TrimBlanks(CutUtf8(std::string(image, 45), 45));
  p.DataDrive = TrimBlanks(CutUtf8(std::string(image + kStringRecord, 10), 10));
}

// MPInteger.kvx with some records changed and the others as they were: the
// new file is made whole beside the old one and renamed over it, so a full
// disk never leaves half a parameter file.
SaveResult ParameterStore::UpdateIntegerFile(const std::vector<std::pair<int, int16_t>>& records) const {
  std::string reason;
  std::string path = File(kIntegerFileName);
  // A link is followed: the file it names is the one replaced.
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto target = std::filesystem::canonical(path, ec);
    if (!ec) path = target.string();
  }
  if (const Result replaceable = ReplaceableFile(path); !replaceable.Ok()) return {replaceable.message};
  std::vector<unsigned char> image(2 * kIntegerRecords);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  image.resize(f ? std::fread(image.data(), 1, image.size(), f) : 0);
  if (f) std::fclose(f);
  for (const auto& [rec, value] : records) {
    const size_t at = 2 * static_cast<size_t>(rec - 1);
    if (image.size() < at + 2) image.resize(at + 2, 0);
    const auto u = static_cast<uint16_t>(value);
    image[at] = static_cast<unsigned char>(u & 0xFF);
    image[at + 1] = static_cast<unsigned char>(u >> 8);
  }
  const StagedFile staged = CreateStagedFile(path);
  if (staged.fd < 0) return {staged.result.message};
  errno = 0;
  Result written;
  if (::write(staged.fd, image.data(), image.size()) != static_cast<ssize_t>(image.size())) {
    if (errno == 0) errno = EFBIG;  // a short write sets nothing
    written = Result::Failed(ErrnoReason(path));
  }
  if (::close(staged.fd) != 0 && written.Ok()) written = Result::Failed(ErrnoReason(path));
  return {FinishStagedFile(staged.name, path, written, nullptr).message};
}

SaveResult ParameterStore::SaveRecording() const {
  std::vector<std::pair<int, int16_t>> records;
  for (const IntField& fd : kFields) {
    if (fd.rec <= 24 && fd.rec != 23) records.emplace_back(fd.rec, values_.*fd.field);
  }
  return UpdateIntegerFile(records);
}

SaveResult ParameterStore::SavePageSetup() const {
  const auto& p = values_;
  std::vector<std::pair<int, int16_t>> records;
  for (const IntField& fd : kFields) {
    if (fd.rec >= 31) records.emplace_back(fd.rec, p.*fd.field);
  }
  const double percent = std::nearbyint(static_cast<double>(p.PictureScale) * 100.0);
  records.emplace_back(39, static_cast<int16_t>(std::clamp(percent, -32768.0, 32767.0)));
  return UpdateIntegerFile(records);
}

void ParameterStore::LoadAtStartup() {
  ReadRecords();
  ReadDataFolder();
  auto& p = values_;
  if (!IsFolder(p.DataPath)) {
    p.DataPath = "c:\\";
    p.DataDrive = "c:";
  }
  p.DataPathCopy = p.DataPath;
  p.DataDriveCopy = p.DataDrive;
  p.LanguageFlag = 1;
}

}  // namespace accelog
