// The three exports of the largest accepted file (327600 points), in
// process, beside a bare libxlsxwriter loop over the same cells: what the
// workbook export adds to the library's own work.
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <cmath>
#include <string>

#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/export.h"
#include "model/kvx_file.h"
#include "model/dataset.h"
#include "model/machine_parameter.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace {

using namespace accelog;
namespace support = accelog::testing;

support::TempFolder& Folder() {
  static support::TempFolder folder;
  return folder;
}

// Opens the largest file once for all cases.
Dataset& Data() {
  static Dataset data;
  return data;
}

ExportRows Rows() {
  static const ExportRows rows = [] {
    Dataset& data = Data();
    const std::string p = Folder().File("largest.kvx");
    support::KvxHead h;
    h.count = 327600;
    support::WriteBytes(p, support::KvxImage(h, support::Wave(327600)));
    data.MenuCommandCode = MenuOperation::DataView;
    data.Open(p);
    return data.AllNoZeroRows();
  }();
  return rows;
}

void BM_Export(benchmark::State& state, ExportFormat format, const char* name) {
  const ExportRows rows = Rows();
  const std::string out = Folder().File(name);
  for (auto _ : state) {
    std::remove(out.c_str());
    const ExportResult e = WriteExport(Data(), format, out, rows, {});
    if (!e.Ok()) state.SkipWithError(e.message.c_str());
  }
  state.counters["rows"] = rows.Count();
}
BENCHMARK_CAPTURE(BM_Export, Text, ExportFormat::Text, "out.txt")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Export, Csv, ExportFormat::Csv, "out.csv")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Export, Workbook, ExportFormat::Workbook, "out.xlsx")->Unit(benchmark::kMillisecond)->Iterations(2);

// The same cells straight from the records: no texts, no checks, no rename.
void BM_BareLibxlsxwriter(benchmark::State& state) {
  const ExportRows rows = Rows();
  const std::string out = Folder().File("bare.xlsx");
  for (auto _ : state) {
    lxw_workbook_options o{};
    o.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(out.c_str(), &o);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "sheet1");
    lxw_format* whole = workbook_add_format(book);
    lxw_format* tenth = workbook_add_format(book);
    format_set_num_format(whole, "0");
    format_set_num_format(tenth, "0.0");
    for (lxw_col_t c = 0; c < 9; ++c) worksheet_write_string(sheet, 0, c, "header", nullptr);
    lxw_row_t r = 0;
    for (int32_t i = rows.first; i <= rows.last; ++i) {
      const RealDataRecord& p = Data().RealDataNoZero[i];
      ++r;
      worksheet_write_number(sheet, r, 0, r, whole);
      worksheet_write_string(sheet, r, 1, std::string(p.DateText, 10).c_str(), nullptr);
      worksheet_write_string(sheet, r, 2, std::string(p.TimeText, 8).c_str(), nullptr);
      const float v[6] = {p.X, p.Y, p.Z, p.AX, p.AY, p.AZ};
      for (lxw_col_t c = 0; c < 3; ++c) worksheet_write_number(sheet, r, 3 + c, std::trunc(v[c]), whole);
      for (lxw_col_t c = 3; c < 6; ++c) worksheet_write_number(sheet, r, 3 + c, std::trunc(v[c] * 10) / 10, tenth);
    }
    workbook_close(book);
  }
}
BENCHMARK(BM_BareLibxlsxwriter)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
