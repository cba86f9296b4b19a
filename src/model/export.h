#pragma once
// Export of the non-zero points (RealDataNoZero) to the fixed-column text
// file, the workbook and CSV. No windows here: progress goes to a callback so
// the caller can keep its window responsive.
#include <cstdint>
#include <functional>
#include <string>

#include "model/dataset.h"

namespace accelog {

enum class ExportFormat { Text, Workbook, Csv };

// The format a target name asks for by its ending (".txt", ".xlsx", ".csv");
// false for anything else.
bool ExportFormatOf(const std::string& path, ExportFormat& format);

// The rows are RealDataNoZero indices first..last (Dataset::AllNoZeroRows,
// NoZeroRowsBetween); an empty range writes the header alone.

// Called after each data row with the number of rows written so far.
using ExportProgress = std::function<void(int32_t rows_written)>;

// Where a workbook export failed: 7 the workbook could not be made, 8 the
// sheet could not be added, 10 writing or saving it. Text and CSV use 10.
struct ExportResult {
  int checkpoint = 0;
  std::string message;  // "<file>: <why>", empty when the file was written
  bool Ok() const { return message.empty(); }
};

// Each writer fills a file beside `path` and renames it into place once it is
// complete and on disk; on failure nothing is left under `path`.
ExportResult WriteTextExport(const Dataset& data, const std::string& path, ExportRows rows, const ExportProgress& progress);
ExportResult WriteWorkbookExport(const Dataset& data, const std::string& path, ExportRows rows, const ExportProgress& progress);
ExportResult WriteCsvExport(const Dataset& data, const std::string& path, ExportRows rows, const ExportProgress& progress);
ExportResult WriteExport(const Dataset& data, ExportFormat format, const std::string& path, ExportRows rows,
                 const ExportProgress& progress);

// Shared by the text and CSV writers: the header and one line per row into a
// staged file, checked against the expected size before the rename.
using ExportLineWriter = std::function<size_t(char* buffer, int32_t row, int32_t index)>;
ExportResult WriteLineExport(const std::string& path, ExportRows rows, const std::string& header,
                     size_t max_line, uint64_t bytes_hint, const ExportLineWriter& line,
                     const ExportProgress& progress);

}  // namespace accelog
