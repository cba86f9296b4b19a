#pragma once
// Byte-position file access shared by the data, log and parameter files.
#include <cstdio>
#include <string>

namespace accelog {

// Opens a file for reading and writing at any position, creating it empty
// when it does not exist yet. Null when neither works.
std::FILE* OpenForUpdate(const std::string& path);
// The length of an open file in bytes, 0 when it cannot be told; the
// position is left at the end.
long FileLength(std::FILE* f);

}  // namespace accelog
