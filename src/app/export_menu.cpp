#include "app/export_menu.h"

#include <sys/stat.h>

#include <cstdio>

#include "core/ui_port.h"
#include "model/staged_file.h"
#include "model/dataset.h"
#include "model/utils.h"

namespace accelog {

namespace {

// Int(rows / 100) + 1 of the sheet row, as the progress bar counts.
int ProgressStep(int32_t sheet_row) { return sheet_row / 100 + 1; }

}  // namespace

std::string ExportFailureMessage(const ExportResult& error) {
  std::string head = "Data is error, 10,Please check Microsoft Office Excel";
  if (error.checkpoint == 7 || error.checkpoint == 8) {
    head = "Data is error=" + std::to_string(error.checkpoint) + ",Please check Microsoft Office Excel";
  }
  return head + "\n" + error.message;
}

DataExport::DataExport(Dataset& data, UiPort& ui, std::unique_ptr<Timer> capture_timer)
    : data_(data), ui_(ui), capture_timer_(std::move(capture_timer)) {
  if (capture_timer_) capture_timer_->OnTick = [this] { OnCaptureTick(); };
}

bool DataExport::CanExport() const {
  return data_.DispEndPoint != 0 && data_.MenuCommandCode == MenuOperation::None && data_.DataLoaded;
}

void DataExport::ExportData() {
  if (data_.MenuCommandCode == MenuOperation::None && !(data_.DataLoaded && data_.DispEndPoint != 0)) {
    ui_.StatusPanel(kFileNotePanel, kOpenAFileFirst);
  }
  if (!CanExport()) return;
  const ExportChoice c = ui_.ExportFileName(
      "Select File", {{"Text Files(*.txt)", "*.txt"}, {"Excel Files(*.xlsx)", "*.xlsx"}, {"CSV Files(*.csv)", "*.csv"}});
  if (c.name.empty()) return;
  // A name typed with one of the three extensions says the format itself;
  // the chosen filter only completes a name without one.
  std::string name = c.name;
  ExportFormat format;
  if (!ExportFormatOf(name, format)) {
    if (c.filter == 1) name = CleanFileName(c.name) + ".txt";
    else if (c.filter == 2) name = CutAtFirstDot(c.name) + ".xlsx";
    else if (c.filter == 3) name = CleanFileName(c.name) + ".csv";
    if (!ExportFormatOf(name, format)) return;
  }
  data_.DataFileName = name;

  struct stat st {};
  if (::stat(name.c_str(), &st) == 0) {
    if (!ui_.AskOkCancel("The filename already exists ,overwrite it  ?")) return;
    // Replaced by the rename once the new file is whole.
    if (const Result replaceable = ReplaceableFile(name); !replaceable.Ok()) {
      ui_.Message(replaceable.message, MessageIcon::Exclamation);
      return;
    }
  }
  rows_ = c.only_shown ? data_.NoZeroRowsBetween(data_.DispStartPoint, data_.DispEndPoint) : data_.AllNoZeroRows();
  ui_.BusyPointer(true);
  if (format == ExportFormat::Text) WriteLines(WriteTextExport);
  else if (format == ExportFormat::Csv) WriteLines(WriteCsvExport);
  else StartWorkbook();
  ui_.BusyPointer(false);
}

// The text and CSV files are written in one go, without the workbook's timer.
void DataExport::WriteLines(ExportResult (*write)(const Dataset&, const std::string&, ExportRows, const ExportProgress&)) {
  if (!CanExport()) return;
  data_.MenuCommandCode = MenuOperation::Export;
  data_.DownloadFileName = data_.DataFileName;
  const ExportResult written = write(data_, data_.DownloadFileName, rows_, {});
  data_.MenuCommandCode = MenuOperation::None;
  if (written.Ok()) ui_.Message("Complete!");
  else ui_.Message("The export was not written.\n" + written.message, MessageIcon::Exclamation);
}

void DataExport::StartWorkbook() {
  if (!CanExport()) return;
  data_.MenuCommandCode = MenuOperation::Export;
  workbook_name_ = data_.DataFileName;
  if (!capture_timer_) return WriteWorkbook();
  capture_ticks_ = 0;
  capture_timer_->Start(1000);
}

// There is no screen image to take first: the first tick only waits.
void DataExport::OnCaptureTick() {
  if (++capture_ticks_ == 1) return;
  capture_timer_->Stop();
  capture_ticks_ = 0;
  WriteWorkbook();
}

void DataExport::WriteWorkbook() {
  const int32_t n = rows_.Count();
  const bool show = n > 1000;
  if (show) {
    ui_.ProgressShow(1, ProgressStep(n));
    ui_.ProgressValue(1);
  }
  int last = 1;
  auto progress = [&](int32_t written) {
    const int step = ProgressStep(written + 1);
    if (step == last) return;
    last = step;
    if (show) ui_.ProgressValue(step);
    ui_.ProcessMessages();
  };
  ui_.BusyPointer(true);
  const ExportResult error = WriteWorkbookExport(data_, workbook_name_, rows_, progress);
  ui_.BusyPointer(false);
  if (error.Ok()) {
    ui_.Message("Complete !");
  } else {
    ui_.Message(ExportFailureMessage(error), MessageIcon::Exclamation);
    WriteErrorLog("导出数据定时器错误 ");
  }
  if (show) {
    ui_.ProgressValue(1);
    ui_.ProgressHide();
  }
  data_.MenuCommandCode = MenuOperation::None;
}

}  // namespace accelog
