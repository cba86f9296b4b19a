#pragma once
// The .kvx data file: a 19-byte head (recording parameters, sample count,
// start time) followed by 6-byte samples (X, Y, Z, each 16-bit low byte first).
#include <cstdint>
#include <string>

#include "model/dataset.h"

namespace accelog {

inline constexpr int kHeadBytes = 19;
inline constexpr int kSampleBytes = 6;
inline constexpr int32_t kTooManyPoints = 327601;

// Reads the head into Data.Head and Data.DeviceSampleCount; the recording
// parameters stay as they are.
// Missing bytes read as zero; returns false when the file cannot be opened.
// (length - 19) / 6, rounded half to even; 0 or negative for a bad file.
int32_t CountFilePoints(const std::string& file_name);
// Fills RealData(1..) from the samples; returns the number of records filled.
// The same from bytes held in memory: a 19-byte head, and `records` samples
// of 6 bytes timed from the head's start time.
// The first head field outside what a logger writes ("start month 48"),
// empty for a head a logger could have written.
std::string HeadProblem(const FileHeadRecord& head);
// "FILE: not a logger file (start month 48)".
std::string NotLoggerFileMessage(const std::string& file_name, const std::string& problem);
// The head counts more samples than the file holds: a download that did not
// finish. "1728 of 8000 samples: the download was not finished", or empty.
std::string IncompleteFileText(int32_t samples_in_file, int32_t head_count);
// Makes RealDataNoZero(1..CountPointNoZero) the non-zero points of RealData.
// Opening a file leaves it for the first reader: call this before reading
// RealDataNoZero; it costs nothing when the copy is current.
// Writes positions 1..9 and 14..19 of a new capture file.
// Opens a capture file and keeps it open for the live engine.
// Writes bytes at 1-based positions of the open capture file and hands them
// to the kernel, so a crash after it loses nothing.
// Cuts the open capture file to `length` bytes, so a sample that went in
// only in part is not kept.
// False when the last buffered bytes could not be written.


// The data side of opening a file for viewing: head, count, limits, points,
// statistics, axis scale, plot positions and the column map. Shows "Too much
// data = N", "Data is error !" or "FILE: not a logger file (...)" through
// the message port and returns why.
// The message text a refused file shows.
std::string OpenResultMessage(OpenResult result, int32_t count);

}  // namespace accelog
