#include "model/file_util.h"

namespace accelog {

std::FILE* OpenForUpdate(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  if (!f) f = std::fopen(path.c_str(), "w+b");
  return f;
}

long FileLength(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return 0;
  const long n = std::ftell(f);
  return n < 0 ? 0 : n;
}

}  // namespace accelog
