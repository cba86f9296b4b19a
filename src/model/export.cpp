#include "model/export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/kvx_file.h"
#include "model/staged_file.h"
#include "model/dataset.h"

namespace accelog {

bool ExportFormatOf(const std::string& path, ExportFormat& format) {
  auto ends = [&](const char* ext) {
    const size_t n = std::strlen(ext);
    return path.size() > n && path.compare(path.size() - n, n, ext) == 0;
  };
  if (ends(".txt")) format = ExportFormat::Text;
  else if (ends(".xlsx")) format = ExportFormat::Workbook;
  else if (ends(".csv")) format = ExportFormat::Csv;
  else return false;
  return true;
}

ExportRows Dataset::AllNoZeroRows() {
  BuildNoZeroCopy();
  return {1, CountPointNoZero};
}

ExportRows Dataset::NoZeroRowsBetween(int32_t from, int32_t to) {
  BuildNoZeroCopy();
  // The copy keeps the file's order, so the points of a span are one run of it.
  const std::vector<int32_t>& points = RealDataNoZero.Points();
  const auto begin = points.begin() + 1;
  const auto end = begin + CountPointNoZero;
  const auto first = std::lower_bound(begin, end, from);
  const auto last = std::upper_bound(begin, end, to);
  return {static_cast<int32_t>(first - begin) + 1, static_cast<int32_t>(last - begin)};
}

ExportResult WriteExport(const Dataset& data, ExportFormat format, const std::string& path, ExportRows rows,
                          const ExportProgress& progress) {
  switch (format) {
    case ExportFormat::Text: return WriteTextExport(data, path, rows, progress);
    case ExportFormat::Workbook: return WriteWorkbookExport(data, path, rows, progress);
    case ExportFormat::Csv: return WriteCsvExport(data, path, rows, progress);
  }
  return {10, path + ": no writer for this format"};
}

namespace {

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

ExportResult WriteLineExport(const std::string& path, ExportRows rows, const std::string& header,
                     size_t max_line, uint64_t bytes_hint, const ExportLineWriter& line,
                     const ExportProgress& progress) {
  ExportResult error;
  error.checkpoint = 10;
  if (const Result room = CheckFreeSpace(path, bytes_hint); !room.Ok()) {
    error.message = room.message;
    return error;
  }
  const StagedFile staged_file = CreateStagedFile(path);
  const int fd = staged_file.fd;
  const std::string& staged = staged_file.name;
  if (fd < 0) {
    error.message = staged_file.result.message;
    return error;
  }

  std::vector<char> buffer(std::max<size_t>(1 << 20, max_line + header.size()));
  size_t used = header.size();
  std::memcpy(buffer.data(), header.data(), used);
  uint64_t total = 0;
  bool ok = true;
  auto flush = [&] {
    ok = WriteAll(fd, buffer.data(), used);
    total += used;
    used = 0;
    return ok;
  };
  int32_t row = 0;
  for (int32_t i = rows.first; i <= rows.last; ++i) {
    if (buffer.size() - used < max_line && !flush()) break;
    used += line(buffer.data() + used, ++row, i);
    if (progress) progress(row);
  }
  if (ok) flush();
  if (!ok) error.message = ErrnoReason(path);
  struct stat st {};
  if (ok && (::fstat(fd, &st) != 0 || static_cast<uint64_t>(st.st_size) != total)) {
    error.message = path + ": the written file is " + std::to_string(st.st_size) + " bytes, not " +
                   std::to_string(total);
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error.message = ErrnoReason(path);
    ok = false;
  }
  if (!ok) {
    std::remove(staged.c_str());
    return error;
  }
  error.message = CommitStagedFile(staged, path).message;
  return error;
}

}  // namespace accelog
