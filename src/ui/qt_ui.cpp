#include "ui/qt_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

#include "ui/keypad_dialog_qt.h"
#include "ui/parameter_dialog_qt.h"
#include "app/shell_rules.h"
#include "model/machine_parameter.h"
#include "ui/twips.h"

namespace accelog {

namespace {
QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Critical: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
  }
}

// "*.Kvx" as a dialog filter that matches any case of the extension.
QString Filter(const std::string& pattern) {
  QString p = QString::fromStdString(pattern);
  if (p.startsWith("*.")) {
    const QString ext = p.mid(2);
    return QString("%1 files (*.%2 *.%3 *.%4)").arg(ext.toUpper(), ext.toLower(), ext.toUpper(),
                                                     ext.left(1).toUpper() + ext.mid(1).toLower());
  }
  return p;
}
}  // namespace

void QtUi::SetPanels(QLabel* const* panels) {
  for (int i = 0; i < 5; ++i) panels_[i] = panels[i];
}

void QtUi::SetProgressBar(QProgressBar* bar) { progress_ = bar; }

void QtUi::Message(const std::string& text, MessageIcon icon) { MessageWith(text, icon, " ", {}); }

void QtUi::MessageWith(const std::string& text, MessageIcon icon, const std::string& title,
                       const std::string& explanation) {
  QMessageBox box(ToQt(icon), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                  parent_);
  box.setObjectName("Message");
  if (!explanation.empty()) box.setInformativeText(QString::fromStdString(explanation));
  box.exec();
}

bool QtUi::AskOkCancel(const std::string& text) { return AskOkCancel(text, " "); }

bool QtUi::AskOkCancel(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  return box.exec() == QMessageBox::Ok;
}

std::string QtUi::OpenFileName(const std::string& title, const std::string& filter) {
  const QString name = QFileDialog::getOpenFileName(parent_, QString::fromStdString(title), last_folder_,
                                                    Filter(filter));
  if (!name.isEmpty()) last_folder_ = QFileInfo(name).absolutePath();
  return name.toStdString();
}

std::string QtUi::SaveFileName(const std::string& title, const std::string& filter) {
  // The program asks about an existing file itself, after the extension is added.
  const QString name = QFileDialog::getSaveFileName(parent_, QString::fromStdString(title), last_folder_,
                                                    Filter(filter), nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (!name.isEmpty()) last_folder_ = QFileInfo(name).absolutePath();
  return name.toStdString();
}

ExportChoice QtUi::ExportFileName(const std::string& title,
                                  const std::vector<std::pair<std::string, std::string>>& filters) {
  QStringList names;
  for (const auto& f : filters) names << QString::fromStdString(f.first);
  QFileDialog dialog(parent_, QString::fromStdString(title), last_folder_);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked after the extension is added
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(names);
  auto* only_shown = new QCheckBox("Only the points shown", &dialog);
  only_shown->setObjectName("OnlyShown");
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(only_shown, grid->rowCount(), 0, 1, -1);
  }
  ExportChoice c;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return c;
  c.name = dialog.selectedFiles().first().toStdString();
  c.filter = static_cast<int>(names.indexOf(dialog.selectedNameFilter())) + 1;
  c.only_shown = only_shown->isChecked();
  last_folder_ = QFileInfo(dialog.selectedFiles().first()).absolutePath();
  return c;
}

void QtUi::ProcessMessages() { QApplication::processEvents(); }

void QtUi::StatusPanel(int panel, const std::string& text) {
  if (panel < 1 || panel > 5 || !panels_[panel - 1]) return;
  QLabel* label = panels_[panel - 1];
  const QString t = QString::fromStdString(text);
  label->setText(t);
  label->setToolTip(t);
  // A longer note widens its panel rather than being cut off.
  const int need = label->fontMetrics().horizontalAdvance(t) + 2 * label->frameWidth() + 8;
  const int normal = TwipsToPixels(kStatusPanelWidth);
  label->setMaximumWidth(std::max(normal, need));
  label->setMinimumWidth(need > normal ? need : 1);
}

QString QtUi::PanelText(int panel) const {
  if (panel < 1 || panel > 5 || !panels_[panel - 1]) return {};
  return panels_[panel - 1]->text();
}

void QtUi::ProgressShow(int minimum, int maximum) {
  if (!progress_) return;
  progress_->setRange(minimum, std::max(minimum, maximum));
  progress_->setValue(minimum);
  progress_->setVisible(true);
}

void QtUi::ProgressValue(int value) {
  if (progress_) progress_->setValue(std::clamp(value, progress_->minimum(), progress_->maximum()));
}

void QtUi::ProgressHide() {
  if (progress_) progress_->setVisible(false);
}

void QtUi::BusyPointer(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtUi::UseParameterStore(ParameterStore* store, ClockReading (*clock)()) {
  parameters_ = store;
  clock_ = clock;
  qt_keypad_ = store ? std::make_unique<QtKeypadPort>(store->Values(), *this) : nullptr;
}

void QtUi::ShowParameterDialog() {
  if (!parameters_) return;  // nothing to set up
  ParameterDialogQt dialog(*parameters_, keypad_ ? *keypad_ : *qt_keypad_, *this, clock_, parent_);
  dialog.exec();
}

}  // namespace accelog
