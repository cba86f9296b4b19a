#pragma once
// Writing a file whole beside its final name and renaming it into place, so a
// failure never leaves a partial file under the name the user chose.
#include <cstdint>
#include <string>

namespace accelog {

// "<path>: <what the system said>" for the last failed call.
std::string ErrnoReason(const std::string& path);

// The folder a path's file lives in ("." for a bare name).
std::string FolderOf(const std::string& path);

// A new empty file beside `path` (same folder, so the rename cannot cross
// file systems). Returns its descriptor and name, or -1 with the reason.
int CreateStagedFile(const std::string& path, std::string& staged, std::string& reason);

// False with the reason when the folder of `path` has fewer than `bytes` free.
bool CheckFreeSpace(const std::string& path, uint64_t bytes, std::string& reason);

// Flushes the staged file to disk and renames it to `path`; on failure the
// staged file is removed and the reason given.
bool CommitStagedFile(const std::string& staged, const std::string& path, std::string& reason);

}  // namespace accelog
