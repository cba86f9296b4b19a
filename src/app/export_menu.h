#pragma once
// "Export Data": the save dialog, the overwrite question and the three
// writers with their messages. The workbook is written on Timer6's second
// tick, with the progress bar and the window kept responsive.
#include <string>

#include "model/export.h"

namespace accelog {

struct ExportState {
  std::string ExcelFileName;  // the workbook ToExcelFile writes
  ExportRows Rows;            // the RealDataNoZero rows of the export under way
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
