#include "app/export_menu.h"

#include <sys/stat.h>

#include <cstdio>

#include "core/ui_port.h"
#include "model/staged_file.h"
#include "model/state.h"
#include "model/utils.h"
#include "core/timer.h"

namespace accelog {

ExportState Export;

namespace {

bool CanExport() { return Data.DispEndPoint != 0 && Data.MenuCommandCode == MenuOperation::None && Data.DataLoaded; }

// Int(rows / 100) + 1 of the sheet row, as the progress bar counts.
int ProgressStep(int32_t sheet_row) { return sheet_row / 100 + 1; }

// The text and CSV writers' end: "Complete!" or why nothing was written.
void Finish(bool ok, const ExportError& error) {
  if (ok) Ui().Message("Complete!");
  else Ui().Message("The export was not written.\n" + error.reason, MessageIcon::Exclamation);
}

}  // namespace

std::string ExportFailureMessage(const ExportError& error) {
  std::string head = "Data is error, 10,Please check Microsoft Office Excel";
  if (error.checkpoint == 7 || error.checkpoint == 8) {
    head = "Data is error=" + std::to_string(error.checkpoint) + ",Please check Microsoft Office Excel";
  }
  return head + "\n" + error.reason;
}

void File007_Click() {
  if (Data.MenuCommandCode == MenuOperation::None && !(Data.DataLoaded && Data.DispEndPoint != 0)) {
    Ui().StatusPanel(kFileNotePanel, kOpenAFileFirst);
  }
  if (!CanExport()) return;
  const ExportChoice c = Ui().ExportFileName(
      "Select File", {{"Text Files(*.txt)", "*.txt"}, {"Excel Files(*.xlsx)", "*.xlsx"}, {"CSV Files(*.csv)", "*.csv"}});
  if (c.name.empty()) return;
  // A name typed with one of the three extensions says the format itself;
  // the chosen filter only completes a name without one.
  std::string name = c.name;
  ExportFormat format;
  if (!ExportFormatOf(name, format)) {
    if (c.filter == 1) name = FileNameFilter_String(c.name) + ".txt";
    else if (c.filter == 2) name = CutAtFirstDot(c.name) + ".xlsx";
    else if (c.filter == 3) name = FileNameFilter_String(c.name) + ".csv";
    if (!ExportFormatOf(name, format)) return;
  }
  Data.DataFileName = name;

  struct stat st {};
  if (::stat(name.c_str(), &st) == 0) {
    if (!Ui().AskOkCancel("The filename already exists ,overwrite it  ?")) return;
    // Replaced by the rename once the new file is whole.
    if (std::string reason; !ReplaceableFile(name, reason)) {
      Ui().Message(reason, MessageIcon::Exclamation);
      return;
    }
  }
  Export.Rows = c.only_shown ? NoZeroRowsBetween(Data.DispStartPoint, Data.DispEndPoint) : AllNoZeroRows();
  Ui().BusyPointer(true);
  if (format == ExportFormat::Text) ToTXT();
  else if (format == ExportFormat::Csv) ToCSV();
  else ToEXCEL();
  Ui().BusyPointer(false);
}

namespace {

// The text and CSV files are written in one go, without the workbook's timer.
void ExportWith(bool (*write)(const std::string&, ExportRows, const ExportProgress&, ExportError&)) {
  if (!CanExport()) return;
  Data.MenuCommandCode = MenuOperation::Export;
  Data.DownloadFileName = Data.DataFileName;
  ExportError error;
  const bool ok = write(Data.DownloadFileName, Export.Rows, {}, error);
  Data.MenuCommandCode = MenuOperation::None;
  Finish(ok, error);
}

}  // namespace

void ToTXT() { ExportWith(WriteTextExport); }

void ToCSV() { ExportWith(WriteCsvExport); }

void ToEXCEL() {
  if (!CanExport()) return;
  Data.MenuCommandCode = MenuOperation::Export;
  Export.ExcelFileName = Data.DataFileName;
  // There is no screen image to take first: the first tick only waits.
  if (!Export.MakeWorkbookTimer) return ToExcelFile();
  Export.WorkbookTimer = Export.MakeWorkbookTimer();
  Export.WorkbookTimer->OnTick = [] {
    if (++Export.WorkbookTicks < 2) return;
    Export.WorkbookTimer->Stop();
    Export.WorkbookTicks = 0;
    ToExcelFile();
  };
  Export.WorkbookTicks = 0;
  Export.WorkbookTimer->Start(1000);
}

void ToExcelFile() {
  const int32_t n = Export.Rows.Count();
  const bool show = n > 1000;
  if (show) {
    Ui().ProgressShow(1, ProgressStep(n));
    Ui().ProgressValue(1);
  }
  int last = 1;
  auto progress = [&](int32_t written) {
    const int step = ProgressStep(written + 1);
    if (step == last) return;
    last = step;
    if (show) Ui().ProgressValue(step);
    Ui().ProcessMessages();
  };
  Ui().BusyPointer(true);
  ExportError error;
  const bool ok = WriteWorkbookExport(Export.ExcelFileName, Export.Rows, progress, error);
  Ui().BusyPointer(false);
  if (ok) {
    Ui().Message("Complete !");
  } else {
    Ui().Message(ExportFailureMessage(error), MessageIcon::Exclamation);
    WriteErrorLog("导出数据定时器错误 ");
  }
  if (show) {
    Ui().ProgressValue(1);
    Ui().ProgressHide();
  }
  Data.MenuCommandCode = MenuOperation::None;
}

}  // namespace accelog
