#pragma once
// Writing a file whole beside its final name and renaming it into place, so a
// failure never leaves a partial file under the name the user chose.
#include <cstdint>
#include <functional>
#include <string>

#include "core/result.h"

namespace accelog {

// "<path>: <what the system said>" for the last failed call.
std::string ErrnoReason(const std::string& path);

// The folder a path's file lives in ("." for a bare name).
std::string FolderOf(const std::string& path);

// A new empty file beside `path` (same folder, so the rename cannot cross
// file systems), named so that it fits wherever `path` fits. Returns its
// descriptor and name, or fd -1 and the reason.
struct StagedFile {
  int fd = -1;
  std::string name;
  Result result;
};
StagedFile CreateStagedFile(const std::string& path);

// Fails with the reason when the folder of `path` cannot take a new file:
// not writable (a read-only file system, no permission) first, then fewer
// than `bytes` free. Only a quick refusal: success is decided by the check
// of the finished file.
Result CheckFreeSpace(const std::string& path, uint64_t bytes);

// Whether an existing `path` may be replaced by a new file: fails with the
// reason for a folder or anything else that is not a regular file. The old
// file stays until the new one is whole and renamed over it.
Result ReplaceableFile(const std::string& path);

// Flushes the staged file to disk and renames it to `path`; on failure the
// staged file is removed and the reason given.
Result CommitStagedFile(const std::string& staged, const std::string& path);

// Looks at a finished staged file; fails with why it is not whole.
using WholeFileCheck = std::function<Result(const std::string& staged)>;

// The end of every staged writer: a failed write (`written` not Ok) or a
// failed check removes the staged file, else it is committed. The reason
// names `path`.
Result FinishStagedFile(const std::string& staged, const std::string& path, const Result& written,
                        const WholeFileCheck& check);

// Whole-file checks of the formats written through Qt or a library.
// A PNG: its chunks run from the signature to an IEND that ends the file.
Result PngWhole(const std::string& file);
// A PDF: it ends with "%%EOF" after a startxref that points at its xref.
Result PdfWhole(const std::string& file);

}  // namespace accelog
