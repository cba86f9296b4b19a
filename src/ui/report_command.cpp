#include "ui/report_command.h"

#include <sys/stat.h>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <cmath>

#include "app/report_layout.h"
#include "core/ui_port.h"
#include "model/dataset.h"
#include "model/span_statistics.h"
#include "model/staged_file.h"
#include "ui/report_painter.h"

namespace accelog {
namespace {

// The threshold (prefilled with the default) and the paper; false when cancelled.
bool AskReportOptions(QWidget* parent, double default_threshold, ReportRequest& request) {
  QDialog dialog(parent);
  dialog.setObjectName("ReportOptions");
  dialog.setWindowTitle("Report");
  auto* form = new QFormLayout(&dialog);
  auto* threshold = new QDoubleSpinBox(&dialog);
  threshold->setObjectName("Threshold");
  threshold->setDecimals(1);
  threshold->setRange(0.1, 1e6);
  threshold->setSuffix(" mg");
  threshold->setValue(default_threshold > 0 ? default_threshold : 100);
  form->addRow("Event threshold:", threshold);
  form->addRow("", new QLabel("Events are runs of points at least this far from the channel's mean.\n"
                              "The value offered is half the largest distance in the file.", &dialog));
  auto* paper = new QComboBox(&dialog);
  paper->setObjectName("Paper");
  paper->addItems({"A4", "Letter"});
  paper->setCurrentIndex(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? 1 : 0);
  form->addRow("Paper:", paper);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  // The default untouched stays the exact default, as the command line makes it.
  if (default_threshold <= 0 || std::abs(threshold->value() - default_threshold) >= 0.05)
    request.threshold = threshold->value();
  request.paper = paper->currentIndex() == 1 ? ReportPaper::Letter : ReportPaper::A4;
  return true;
}

}  // namespace

void MakeReportFromWindow(QWidget* parent, Dataset& data, UiPort& ui, const std::string& file) {
  if (data.MenuCommandCode != MenuOperation::None) return;  // like every menu item while the logger is busy
  if (!data.DataLoaded || data.DispEndPoint == 0 || data.FrequencyView) {
    ui.StatusPanel(kFileNotePanel, kOpenAFileFirst);
    return;
  }
  ReportRequest request;
  request.file = QFileInfo(QString::fromStdString(file)).fileName().toStdString();
  if (!AskReportOptions(parent, SuggestedThreshold(ComputeSpanStatistics(data, 1, data.CountPoint)), request))
    return;
  std::string name = ui.SaveFileName("Report", "*.pdf");
  if (name.empty()) return;
  if (QFileInfo(QString::fromStdString(name)).suffix().isEmpty()) name += ".pdf";
  struct stat st {};
  if (::stat(name.c_str(), &st) == 0) {
    if (!ui.AskOkCancel("The filename already exists ,overwrite it  ?")) return;
    if (const Result replaceable = ReplaceableFile(name); !replaceable.Ok()) {
      ui.Message(replaceable.message, MessageIcon::Exclamation);
      return;
    }
  }
  ui.BusyPointer(true);
  const ReportContent report = MakeReport(data, request);
  const std::string error = WriteReportPdf(name, report);
  ui.BusyPointer(false);
  if (!error.empty()) {
    ui.Message("The report was not written.\n" + error, MessageIcon::Exclamation);
    return;
  }
  ui.Message("Report written: " + name + " (" + std::to_string(report.pages.size()) +
                 (report.pages.size() == 1 ? " page)" : " pages)"),
             MessageIcon::Information);
}

}  // namespace accelog
