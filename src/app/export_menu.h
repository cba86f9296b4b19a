#pragma once
// "Export Data": the save dialog, the overwrite question and the three
// writers with their messages. The workbook is written on the second tick of
// the export's own one-second timer (the first is the screen-capture step),
// with the progress bar and the window kept responsive.
#include <memory>
#include <string>

#include "core/timer.h"
#include "model/export.h"

namespace accelog {

class UiPort;
class Dataset;

class DataExport {
 public:
  // Without a timer the workbook is written at once.
  DataExport(Dataset& data, UiPort& ui, std::unique_ptr<Timer> capture_timer);

  // The menu item: asks for the name and writes the file on view.
  void ExportData();

 private:
  bool CanExport() const;
  void WriteLines(ExportResult (*write)(const Dataset&, const std::string&, ExportRows, const ExportProgress&));
  void StartWorkbook();
  void OnCaptureTick();
  void WriteWorkbook();

  Dataset& data_;
  UiPort& ui_;
  std::unique_ptr<Timer> capture_timer_;
  int capture_ticks_ = 0;
  std::string workbook_name_;
  ExportRows rows_;  // the RealDataNoZero rows of the export under way
};

// What a failed export shows: the checkpoint's message and the reason.
std::string ExportFailureMessage(const ExportResult& error);

}  // namespace accelog
