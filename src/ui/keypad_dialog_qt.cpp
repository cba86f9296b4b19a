#include "ui/keypad_dialog_qt.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/machine_parameter.h"

namespace accelog {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString Q(const char* s) { return QString::fromUtf8(s); }

QLineEdit* DisplayBox(const std::string& text, const char* name, QWidget* parent) {
  auto* box = new QLineEdit(Q(text), parent);
  box->setObjectName(name);
  box->setEnabled(false);
  return box;
}

}  // namespace

KeypadDialogQt::KeypadDialogQt(KeypadForm& form, int16_t language_flag, UiPort& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui) {
  const auto& c = KeypadCaptionsFor(language_flag);
  setObjectName("DialogInput");
  setWindowTitle(Q(form_.Caption));
  QFont f = font();
  f.setPointSize(10);
  setFont(f);

  text1_ = new QLineEdit(Q(form_.Entry), this);
  text1_->setObjectName("Text1");
  const int box_width = fontMetrics().horizontalAdvance(QStringLiteral("-000000.00")) + 16;
  text1_->setMinimumWidth(box_width);
  connect(text1_, &QLineEdit::textEdited, this,
          [this](const QString& t) { form_.Entry = t.toStdString(); });

  auto* values = new QFormLayout;
  values->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  values->addRow(Q(c.Entry), text1_);
  values->addRow(Q(c.Maximum), DisplayBox(form_.Maximum, "Text2", this));
  values->addRow(Q(c.Minimum), DisplayBox(form_.Minimum, "Text3", this));
  values->addRow(Q(c.Decimals), DisplayBox(form_.Decimals, "Text4", this));

  // The keys keep the focus in the entry, so typing and Enter go on working
  // after a key was clicked.
  auto* frame2 = new QGroupBox(Q(c.Keys), this);
  frame2->setObjectName("Frame2");
  auto* keys = new QGridLayout(frame2);
  const char* faces = "789456123";
  auto add_key = [&](char face, int command, int row, int col, int span = 1) {
    auto* key = new QPushButton(QString(QChar(face)), frame2);
    key->setObjectName(QStringLiteral("Command%1").arg(command));
    key->setFocusPolicy(Qt::NoFocus);
    key->setAutoDefault(false);
    key->setMinimumSize(key->fontMetrics().height() * 2 + 8, key->fontMetrics().height() + 14);
    keys->addWidget(key, row, col, 1, span);
    connect(key, &QPushButton::clicked, this, [this, face] {
      PressKeypadKey(form_, face);
      ShowEntry();
    });
  };
  for (int i = 0; i < 9; ++i) add_key(faces[i], faces[i] - '0', i / 3, i % 3);
  add_key('0', 10, 3, 0);
  add_key('-', 11, 3, 1);
  add_key('.', 12, 3, 2);
  auto* backspace = new QPushButton(Q(c.Backspace), frame2);
  backspace->setObjectName("Command13");
  backspace->setFocusPolicy(Qt::NoFocus);
  backspace->setAutoDefault(false);
  keys->addWidget(backspace, 4, 0, 1, 3);
  connect(backspace, &QPushButton::clicked, this, [this] {
    KeypadBackspace(form_);
    ShowEntry();
  });

  auto* ok = new QPushButton(Q(c.OKButton), this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  auto* cancel = new QPushButton(Q(c.CancelButton), this);
  cancel->setObjectName("CancelButton");
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &KeypadDialogQt::PressOk);
  connect(cancel, &QPushButton::clicked, this, &KeypadDialogQt::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* top = new QVBoxLayout(this);
  top->addLayout(values);
  top->addWidget(frame2);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  text1_->setFocus();
}

void KeypadDialogQt::setVisible(bool visible) {
  QDialog::setVisible(visible);
  if (!visible) return;
  text1_->deselect();
  text1_->end(false);
}

void KeypadDialogQt::ShowEntry() {
  text1_->setText(Q(form_.Entry));
  text1_->setFocus();
  text1_->deselect();
  text1_->end(false);
}

void KeypadDialogQt::PressOk() {
  form_.Entry = text1_->text().toStdString();
  if (ConfirmKeypadEntry(ui_, form_)) {
    text1_->setText(Q(form_.Entry));
    accept();
  }
}

void KeypadDialogQt::reject() {
  CancelKeypad(form_);
  QDialog::reject();
}

std::optional<int16_t> QtKeypadPort::Show(KeypadForm& form) {
  KeypadDialogQt dialog(form, values_.LanguageFlag, ui_, QApplication::activeModalWidget());
  dialog.exec();
  return form.Value;
}

}  // namespace accelog
