#pragma once
// Paints the report's pages (app/report_layout) with QPainter, for the PDF
// that accelog-cli report and File > "Report…" write.
#include <string>

class QPainter;

namespace accelog {

struct ReportContent;
struct ReportPage;

// One page on a device with `dots_per_mm` device pixels per millimetre,
// the page's top left corner at the device's origin.
void PaintReportPage(QPainter& painter, const ReportContent& report, const ReportPage& page, double dots_per_mm);

// The report as a PDF on its paper: written beside `path` under another name,
// checked to its end and renamed. Empty when done, else "<path>: <reason>".
std::string WriteReportPdf(const std::string& path, const ReportContent& report);

}  // namespace accelog
