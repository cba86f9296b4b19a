#pragma once
// The printed page, shared by the preview's "Print" and `accelog-cli print`:
// paper and orientation from the page set-up, the cut-out of the capture at
// the margins' true size and PictureScale of its captured size.
#include <QImage>
#include <QRectF>
#include <QString>
#include <string>

#include "app/print_layout.h"

class QPainter;
class QPrinter;

namespace accelog {

// ScreenNew.bmp in the program's folder.
QString CaptureFilePath();

// The job's screen metrics, or the screen's now when it has none.
double TwipsPerPixelX(const PrintJob& job);
double TwipsPerPixelY(const PrintJob& job);
// CaptureWidth and CaptureHeight of a capture in device pixels.
void MeasureCapture(PrintJob& job, const QImage& capture);

// Draws the cut-out (CutOutSource) of the capture into target; the parts of
// the cut-out outside the capture stay unpainted.
void DrawCutOut(QPainter& painter, const PrintJob& job, const QImage& capture, const QRectF& target);

// Lays out and prints one page; an empty result when the page was printed,
// else the reason.
QString PrintCutOut(QPrinter& printer, const PrintJob& job, const QImage& capture);
// The same page as a PDF file: written beside `path` under another name,
// checked to its end and renamed. Empty when done, else "<path>: <reason>".
std::string PrintCutOutToPdf(const std::string& path, const PrintJob& job, const QImage& capture);

}  // namespace accelog
