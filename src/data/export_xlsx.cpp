// The workbook: sheet "sheet1", written by libxlsxwriter in constant-memory
// mode. The values are numbers whose display ("0" / "0.0") is exactly the
// truncated text of the text export; date and time are texts.
#include <xlsxwriter.h>

#include <charconv>
#include <cstdio>
#include <cstring>

#include "data/export.h"
#include "data/staged_file.h"
#include "data/state.h"
#include "data/utils.h"

namespace accelog {
namespace {

// The number a truncated text stands for (-0 is shown as 0, as typed).
double TextValue(const std::string& text) {
  double v = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v == 0.0 ? 0.0 : v;
}

bool ZipComplete(const std::string& file, std::string& reason) {
  // A whole zip ends with its end-of-directory record (no comment is written).
  std::FILE* f = std::fopen(file.c_str(), "rb");
  unsigned char tail[22] = {};
  const bool ok = f && std::fseek(f, -22, SEEK_END) == 0 && std::fread(tail, 1, 22, f) == 22 &&
                  std::memcmp(tail, "PK\x05\x06", 4) == 0;
  if (f) std::fclose(f);
  if (!ok) reason = file + ": the saved workbook is incomplete";
  return ok;
}

}  // namespace

bool WriteWorkbookExport(const std::string& path, ExportRows rows, const ExportProgress& progress,
                         ExportError& error) {
  error = {7, {}};
  const std::string folder = FolderOf(path);
  // The sheet is spooled uncompressed beside the target before it is zipped.
  const uint64_t need = 400 * (static_cast<uint64_t>(rows.Count()) + 1) + (64 << 10);
  if (!CheckFreeSpace(path, need, error.reason)) return false;
  std::string staged;
  const int fd = CreateStagedFile(path, staged, error.reason);
  if (fd < 0) return false;
  std::fclose(fdopen(fd, "wb"));

  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = const_cast<char*>(folder.c_str());
  lxw_workbook* book = workbook_new_opt(staged.c_str(), &options);
  if (!book) {
    error.reason = path + ": the workbook could not be created";
    std::remove(staged.c_str());
    return false;
  }
  error.checkpoint = 8;
  lxw_worksheet* sheet = workbook_add_worksheet(book, "sheet1");
  lxw_format* whole = workbook_add_format(book);
  lxw_format* tenth = workbook_add_format(book);
  if (!sheet || !whole || !tenth) {
    error.reason = path + ": the sheet could not be added";
    workbook_close(book);
    std::remove(staged.c_str());
    return false;
  }
  error.checkpoint = 10;
  format_set_num_format(whole, "0");
  format_set_num_format(tenth, "0.0");

  lxw_error e = LXW_NO_ERROR;
  const char* head[9] = {"No",    "Date",  "Time",  "X(mg)", "Y(mg)", "Z(mg)", "X Angle(degree)",
                         "Y Angle(degree)", "Z Angle(degree)"};
  for (lxw_col_t c = 0; c < 9 && !e; ++c) e = worksheet_write_string(sheet, 0, c, head[c], nullptr);
  lxw_row_t r = 0;
  for (int32_t i = rows.first; i <= rows.last && !e; ++i) {
    const RealDataRecord& p = Data.RealDataNoZero[i];
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
    error.reason = path + ": " + lxw_strerror(e);
    workbook_close(book);
    std::remove(staged.c_str());
    return false;
  }
  e = workbook_close(book);
  if (e) {
    error.reason = path + ": " + lxw_strerror(e);
    std::remove(staged.c_str());
    return false;
  }
  if (!ZipComplete(staged, error.reason)) {
    error.reason = path + error.reason.substr(staged.size());
    std::remove(staged.c_str());
    return false;
  }
  return CommitStagedFile(staged, path, error.reason);
}

}  // namespace accelog
