#pragma once
// "Export Data": the save dialog, the overwrite question and the three
// writers with their messages. The workbook is written on its timer's second
// tick, with the progress bar and the window kept responsive.
#include <memory>
#include <string>

#include "core/timer.h"

#include "model/export.h"

namespace accelog {

struct ExportState {
  std::string ExcelFileName;  // the workbook ToExcelFile writes
  ExportRows Rows;            // the RealDataNoZero rows of the export under way
  TimerFactory MakeWorkbookTimer;         // the window's; without it the workbook is written at once
  std::unique_ptr<Timer> WorkbookTimer;  // writes the workbook on its second tick, 1 s apart
  int WorkbookTicks = 0;
};
extern ExportState Export;

void File007_Click();
void ToTXT();
void ToCSV();
void ToEXCEL();
void ToExcelFile();

// What a failed export shows: the checkpoint's message and the reason.
std::string ExportFailureMessage(const ExportError& error);

}  // namespace accelog
