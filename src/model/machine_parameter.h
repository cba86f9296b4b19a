#pragma once
// The recording parameters, the page set-up and the data folder, with the
// two small files that keep them between runs (MPInteger.kvx, MPstring.kvx)
// in the program's folder.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace accelog {

struct RecordingParameters {
  int16_t ComPort;         // rec 1
  int16_t RecordInterval;  // rec 2
  int16_t IntervalUnit;    // rec 3: 0 ms, 1 s, 2 min, 3 h
  int16_t LedCycle;        // rec 4
  int16_t CriticalX, CriticalY, CriticalZ;  // rec 5..7
  int16_t RecordMode;      // rec 8: 0 normal, 1 critical
  int16_t WorkMode;        // rec 9: 0 manual, 1 auto, 2 timing
  int16_t CurYear, CurMonth, CurDay, CurHour, CurMinute, CurSecond;          // rec 10..15
  int16_t StartYear, StartMonth, StartDay, StartHour, StartMinute, StartSecond;  // rec 16..21
  int16_t LimitTime;       // rec 22
  int16_t LanguageFlag;    // rec 23: 1 English, 0 Chinese
  int16_t LimitKind;       // rec 24
  int16_t PaperKind;       // rec 31
  int16_t PaperDirection;  // rec 32
  int16_t MarginLeft, MarginRight, MarginTop, MarginDown;  // rec 33..36
  int16_t PaperWidth, PaperHeight;                         // rec 37..38
  float PictureScale;      // rec 39 / 100
  int16_t PictureMoveDown, PictureMoveRight;  // never stored

  std::string DataPath, DataDrive;
  std::string DataPathCopy, DataDriveCopy;

  bool ParameterAccepted;
  int16_t ParameterDialogMode;  // 0 full, 1 real time, 2 real-time frequency
};

inline constexpr const char* kIntegerFileName = "MPInteger.kvx";
inline constexpr const char* kStringFileName = "MPstring.kvx";

// What writing a parameter file came to: empty message when it is on disk,
// otherwise "file: reason".
struct SaveResult {
  std::string message;
  bool Ok() const { return message.empty(); }
};

// All the "new file" defaults, clock fields from the computer's clock.
void ApplyDefaults(RecordingParameters& p);
// Clock fields from the computer's clock (year minus 2000).
void SetCurFromClock(RecordingParameters& p);
void SetStartFromClock(RecordingParameters& p);
// The picture scales the page set-up accepts: 0.01 to 10, so that the
// stored percent (record 39) is 1 to 1000 and the picture has a size.
bool PictureScaleAccepted(double scale);

// The recording parameters and the two files in `folder` that keep them.
// Whoever builds the store (the program, a command, a test) owns the record
// and hands it to who reads it.
class ParameterStore {
 public:
  explicit ParameterStore(std::string folder) : folder_(std::move(folder)) {}
  ParameterStore(const ParameterStore&) = delete;
  ParameterStore& operator=(const ParameterStore&) = delete;

  RecordingParameters& Values() { return values_; }
  const RecordingParameters& Values() const { return values_; }
  std::string File(const char* name) const { return folder_ + "/" + name; }

  // MPInteger.kvx over the defaults. A record outside what its dialog
  // accepts keeps its default; returns the numbers of those records.
  std::vector<int> ReadRecords();
  // MPstring.kvx: the data folder and drive; a missing file is made.
  void ReadDataFolder();
  // Records 1..22 and 24.
  SaveResult SaveRecording() const;
  // Records 31..39.
  SaveResult SavePageSetup() const;
  // The start-up order: both files, the data folder check, the copies, English.
  void LoadAtStartup();

 private:
  SaveResult UpdateIntegerFile(const std::vector<std::pair<int, int16_t>>& records) const;

  std::string folder_;
  RecordingParameters values_{};
};

}  // namespace accelog
