#include "data/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
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

int CreateStagedFile(const std::string& path, std::string& staged, std::string& reason) {
  std::vector<char> name(path.begin(), path.end());
  for (char c : std::string(".XXXXXX.part")) name.push_back(c);
  name.push_back('\0');
  const int fd = mkstemps(name.data(), 5);
  if (fd < 0) {
    reason = ErrnoReason(path);
    return -1;
  }
  staged = name.data();
  // mkstemp makes the file private; the export gets the usual mode.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  return fd;
}

bool CheckFreeSpace(const std::string& path, uint64_t bytes, std::string& reason) {
  struct statvfs s {};
  if (statvfs(FolderOf(path).c_str(), &s) != 0) {
    reason = ErrnoReason(path);
    return false;
  }
  const uint64_t free = static_cast<uint64_t>(s.f_bavail) * s.f_frsize;
  if (free >= bytes) return true;
  reason = path + ": not enough free space (" + std::to_string(bytes / 1024 + 1) + " KiB needed, " +
           std::to_string(free / 1024) + " KiB free)";
  return false;
}

bool CommitStagedFile(const std::string& staged, const std::string& path, std::string& reason) {
  const int fd = ::open(staged.c_str(), O_RDONLY);
  bool ok = fd >= 0 && ::fsync(fd) == 0;
  if (!ok) reason = ErrnoReason(path);
  if (fd >= 0) ::close(fd);
  if (ok && std::rename(staged.c_str(), path.c_str()) != 0) {
    reason = ErrnoReason(path);
    ok = false;
  }
  if (!ok) std::remove(staged.c_str());
  return ok;
}

}  // namespace accelog
