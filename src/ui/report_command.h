#pragma once
// File > "Report…": the report's threshold and paper, its PDF's name, and
// the report of the file on view written there.
class QWidget;

namespace accelog {

class Dataset;
class UiPort;

void MakeReportFromWindow(QWidget* parent, Dataset& data, UiPort& ui);

}  // namespace accelog
