// The workbook: sheet "sheet1", written by libxlsxwriter in constant-memory
// mode. The values are numbers whose display ("0" / "0.0") is exactly the
// truncated text of the text export; date and time are texts.
#include <unzip.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "model/export.h"
#include "model/staged_file.h"
#include "model/dataset.h"
#include "model/utils.h"

namespace accelog {
namespace {

// The number a truncated text stands for (-0 is shown as 0, as typed).
double TextValue(const std::string& text) {
  double v = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v == 0.0 ? 0.0 : v;
}

// Counts "<row " in text that comes in pieces, and keeps its last bytes.
class RowCounter {
 public:
  void Feed(const char* data, size_t n) {
    static constexpr std::string_view kRow = "<row ";
    // Four bytes carried over: a match split between pieces, never one counted twice.
    tail_.append(data, n);
    for (size_t at = 0; (at = tail_.find(kRow, at)) != std::string::npos; at += kRow.size()) ++rows_;
    tail_.erase(0, tail_.size() > kRow.size() - 1 ? tail_.size() - (kRow.size() - 1) : 0);
    end_.append(data, n);
    end_.erase(0, end_.size() > 16 ? end_.size() - 16 : 0);
  }
  long rows() const { return rows_; }
  const std::string& end() const { return end_; }

 private:
  std::string tail_, end_;
  long rows_ = 0;
};

// The finished zip read back: the central directory, every member's CRC,
// and a sheet that holds the header and every row and ends properly. The
// library writes its sheet through a spool file whose failed writes it
// does not see, so the zip alone can be well formed around a cut sheet.
bool WorkbookWhole(const std::string& file, int32_t data_rows, std::string& why) {
  unzFile zip = unzOpen64(file.c_str());
  if (!zip) {
    why = "the saved workbook is not a whole zip file";
    return false;
  }
  bool ok = unzGoToFirstFile(zip) == UNZ_OK;
  long sheet_rows = -1;
  std::string sheet_tail;
  std::vector<char> buf(1 << 16);
  while (ok) {
    char name[256] = {};
    unz_file_info64 info{};
    ok = unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK &&
         unzOpenCurrentFile(zip) == UNZ_OK;
    if (!ok) break;
    const bool sheet = std::strcmp(name, "xl/worksheets/sheet1.xml") == 0;
    RowCounter counter;
    int n = 0;
    while ((n = unzReadCurrentFile(zip, buf.data(), static_cast<unsigned>(buf.size()))) > 0) {
      if (sheet) counter.Feed(buf.data(), static_cast<size_t>(n));
    }
    ok = unzCloseCurrentFile(zip) == UNZ_OK && n == 0;  // the CRC is checked at the close
    if (sheet) {
      sheet_rows = counter.rows();
      sheet_tail = counter.end();
    }
    const int next = ok ? unzGoToNextFile(zip) : UNZ_OK;
    if (next == UNZ_END_OF_LIST_OF_FILE) break;
    ok = ok && next == UNZ_OK;
  }
  unzClose(zip);
  constexpr std::string_view kEnd = "</worksheet>";
  if (!ok) {
    why = "the saved workbook is damaged";
  } else if (sheet_rows != data_rows + 1L || sheet_tail.size() < kEnd.size() ||
             sheet_tail.compare(sheet_tail.size() - kEnd.size(), kEnd.size(), kEnd) != 0) {
    why = "the saved workbook holds " + std::to_string(std::max(sheet_rows - 1, 0L)) + " of " +
          std::to_string(data_rows) + " rows";
    ok = false;
  }
  return ok;
}

}  // namespace

ExportResult WriteWorkbookExport(const Dataset& data, const std::string& path, ExportRows rows, const ExportProgress& progress) {
  ExportResult error;
  error.checkpoint = 7;
  const std::string folder = FolderOf(path);
  // The sheet is spooled uncompressed beside the target before it is zipped
  // (about 424 bytes a row): a quick refusal when even that is not there.
  const uint64_t need = 424 * (static_cast<uint64_t>(rows.Count()) + 1) + (64 << 10);
  if (const Result room = CheckFreeSpace(path, need); !room.Ok()) {
    error.message = room.message;
    return error;
  }
  const StagedFile staged_file = CreateStagedFile(path);
  const std::string& staged = staged_file.name;
  if (staged_file.fd < 0) {
    error.message = staged_file.result.message;
    return error;
  }
  std::fclose(fdopen(staged_file.fd, "wb"));

  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = const_cast<char*>(folder.c_str());
  lxw_workbook* book = workbook_new_opt(staged.c_str(), &options);
  if (!book) {
    error.message = path + ": the workbook could not be created";
    std::remove(staged.c_str());
    return error;
  }
  error.checkpoint = 8;
  lxw_worksheet* sheet = workbook_add_worksheet(book, "sheet1");
  lxw_format* whole = workbook_add_format(book);
  lxw_format* tenth = workbook_add_format(book);
  if (!sheet || !whole || !tenth) {
    error.message = path + ": the sheet could not be added";
    workbook_close(book);
    std::remove(staged.c_str());
    return error;
  }
  error.checkpoint = 10;
  format_set_num_format(whole, "0");
  format_set_num_format(tenth, "0.0");

  lxw_error e = LXW_NO_ERROR;
  // The library's spool writes fail unseen; the system's last word on them
  // is kept for the message.
  errno = 0;
  const char* head[9] = {"No",    "Date",  "Time",  "X(mg)", "Y(mg)", "Z(mg)", "X Angle(degree)",
                         "Y Angle(degree)", "Z Angle(degree)"};
  for (lxw_col_t c = 0; c < 9 && !e; ++c) e = worksheet_write_string(sheet, 0, c, head[c], nullptr);
  lxw_row_t r = 0;
  for (int32_t i = rows.first; i <= rows.last && !e; ++i) {
    const RealDataRecord& p = data.RealDataNoZero[i];
    ++r;
    const std::string date(p.DateText, sizeof p.DateText), time(p.TimeText, sizeof p.TimeText);
    e = worksheet_write_number(sheet, r, 0, static_cast<double>(r), whole);
    if (!e) e = worksheet_write_string(sheet, r, 1, date.c_str(), nullptr);
    if (!e) e = worksheet_write_string(sheet, r, 2, time.c_str(), nullptr);
    const float values[6] = {p.X, p.Y, p.Z, p.AX, p.AY, p.AZ};
    for (lxw_col_t c = 0; c < 6 && !e; ++c) {
      const int decimals = c < 3 ? 0 : 1;
      e = worksheet_write_number(sheet, r, c + 3, TextValue(FormatDecimals(values[c], decimals)),
                                 decimals ? tenth : whole);
    }
    if (progress) progress(static_cast<int32_t>(r));
  }
  const double widths[9] = {4, 10, 10, 10, 10, 10, 15, 15, 15};
  for (lxw_col_t c = 0; c < 9 && !e; ++c) e = worksheet_set_column(sheet, c, c, widths[c], nullptr);
  if (e) {
    error.message = path + ": " + lxw_strerror(e);
    workbook_close(book);
    std::remove(staged.c_str());
    return error;
  }
  const int rows_errno = errno;  // the row spool is written as the rows go
  e = workbook_close(book);
  const int spool_errno = errno != 0 ? errno : rows_errno;
  const std::string system = spool_errno != 0 ? std::string(" (") + std::strerror(spool_errno) + ")" : "";
  const Result written = e ? Result::Failed(path + ": " + lxw_strerror(e) + system) : Result{};
  const int32_t count = rows.Count();
  error.message = FinishStagedFile(staged, path, written, [&](const std::string& file) {
    std::string why;
    return WorkbookWhole(file, count, why) ? Result{} : Result::Failed(why + system);
  }).message;
  return error;
}

}  // namespace accelog
