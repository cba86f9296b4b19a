#include "model/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace accelog {

std::string ErrnoReason(const std::string& path) { return path + ": " + std::strerror(errno); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

StagedFile CreateStagedFile(const std::string& path) {
  constexpr std::string_view kTail = ".XXXXXX.part";
  // The tail would push a name near the limit over it: the name gives way.
  const size_t slash = path.rfind('/');
  const size_t base = slash == std::string::npos ? 0 : slash + 1;
  long name_max = ::pathconf(FolderOf(path).c_str(), _PC_NAME_MAX);
  if (name_max <= 0) name_max = NAME_MAX;
  const size_t keep = std::min(path.size() - base, static_cast<size_t>(name_max) - kTail.size());
  std::vector<char> name(path.begin(), path.begin() + static_cast<long>(base + keep));
  name.insert(name.end(), kTail.begin(), kTail.end());
  name.push_back('\0');
  const int fd = mkstemps(name.data(), 5);
  if (fd < 0) return {-1, {}, Result::Failed(ErrnoReason(path))};
  // mkstemp makes the file private; the output gets the usual mode.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  return {fd, name.data(), {}};
}

Result CheckFreeSpace(const std::string& path, uint64_t bytes) {
  const std::string folder = FolderOf(path);
  struct statvfs s {};
  if (::access(folder.c_str(), W_OK | X_OK) != 0 || statvfs(folder.c_str(), &s) != 0) {
    return Result::Failed(ErrnoReason(path));
  }
  const uint64_t free = static_cast<uint64_t>(s.f_bavail) * s.f_frsize;
  if (free >= bytes) return {};
  return Result::Failed(path + ": not enough free space (" + std::to_string(bytes / 1024 + 1) + " KiB needed, " +
                        std::to_string(free / 1024) + " KiB free)");
}

Result ReplaceableFile(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
  return Result::Failed(path + (S_ISDIR(st.st_mode) ? ": is a folder, not a file" : ": is not a regular file"));
}

Result CommitStagedFile(const std::string& staged, const std::string& path) {
  const int fd = ::open(staged.c_str(), O_RDONLY);
  Result result;
  if (fd < 0 || ::fsync(fd) != 0) result = Result::Failed(ErrnoReason(path));
  if (fd >= 0) ::close(fd);
  if (result.Ok() && std::rename(staged.c_str(), path.c_str()) != 0) result = Result::Failed(ErrnoReason(path));
  if (!result.Ok()) std::remove(staged.c_str());
  return result;
}

Result FinishStagedFile(const std::string& staged, const std::string& path, const Result& written,
                        const WholeFileCheck& check) {
  Result result = written;
  if (result.Ok() && check) {
    if (const Result whole = check(staged); !whole.Ok()) result = Result::Failed(path + ": " + whole.message);
  }
  if (!result.Ok()) {
    std::remove(staged.c_str());
    return result;
  }
  return CommitStagedFile(staged, path);
}

namespace {

std::vector<unsigned char> ReadWhole(const std::string& file) {
  std::vector<unsigned char> bytes;
  if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
    unsigned char buf[1 << 16];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
  }
  return bytes;
}

uint32_t BigEndian32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

Result PngWhole(const std::string& file) {
  const std::vector<unsigned char> png = ReadWhole(file);
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const Result cut = Result::Failed("the written image is cut off (" + std::to_string(png.size()) + " bytes)");
  if (png.size() < 8 || std::memcmp(png.data(), signature, 8) != 0) return cut;
  // Each chunk: length, type, data, CRC.
  for (size_t at = 8; png.size() - at >= 12;) {
    const uint64_t length = BigEndian32(&png[at]);
    const uint64_t next = at + 12 + length;
    if (next > png.size()) return cut;
    if (std::memcmp(&png[at + 4], "IEND", 4) == 0) return next == png.size() ? Result{} : cut;
    at = static_cast<size_t>(next);
  }
  return cut;
}

Result PdfWhole(const std::string& file) {
  const std::vector<unsigned char> bytes = ReadWhole(file);
  const std::string pdf(bytes.begin(), bytes.end());
  const Result cut = Result::Failed("the written document is cut off (" + std::to_string(pdf.size()) + " bytes)");
  constexpr std::string_view kEnd = "%%EOF\n";
  if (pdf.size() < kEnd.size() || pdf.compare(pdf.size() - kEnd.size(), kEnd.size(), kEnd) != 0) return cut;
  // A hole anywhere before the end moves the table away from where it is said to be.
  const size_t start = pdf.rfind("startxref\n");
  if (start == std::string::npos) return cut;
  const unsigned long long at = std::strtoull(pdf.c_str() + start + 10, nullptr, 10);
  return at < start && pdf.compare(static_cast<size_t>(at), 4, "xref") == 0 ? Result{} : cut;
}

}  // namespace accelog
