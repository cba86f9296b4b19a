#pragma once
// File > "Report…": the report's threshold and paper, its PDF's name, and
// the report of the file on view written there.
#include <string>

class QWidget;

namespace accelog {

class Dataset;
class UiPort;

// `file`: the file on view as the chart names it (an export renames DataFileName).
void MakeReportFromWindow(QWidget* parent, Dataset& data, UiPort& ui, const std::string& file);

}  // namespace accelog
