#include "ui/dialog_page.h"

#include <QButtonGroup>
#include <algorithm>
#include <cmath>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/ui_port.h"
#include "model/text_util.h"
#include "model/numeric_text.h"

namespace accelog {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

DialogPage::DialogPage(const PageSetup& values, UiPort& ui, QWidget* parent)
    : QDialog(parent), values_(values), ui_(ui) {
  setObjectName("DialogPage");
  setWindowTitle("Page Setup");
  for (int i = 0; i < 9; ++i) {
    text_[i] = new QLineEdit(this);
    text_[i]->setObjectName(QString("Text%1").arg(i + 1));
    text_[i]->setMaximumWidth(90);
  }

  // "Page": the paper buttons in PaperKind order, with their control names.
  const char* const kPaperNames[6] = {"Option1", "Option2", "Option3", "Option6", "Option7", "Option8"};
  const char* const kPaperCaptions[6] = {"A4", "A3", "User", "Letter", "Legal", "Tabloid"};
  auto* page = new QGroupBox("Page", this);
  auto* page_grid = new QGridLayout(page);
  auto* papers = new QButtonGroup(this);
  for (int k = 0; k < 6; ++k) {
    paper_[k] = new QRadioButton(kPaperCaptions[k], page);
    paper_[k]->setObjectName(kPaperNames[k]);
    papers->addButton(paper_[k], k);
    page_grid->addWidget(paper_[k], k / 3, k % 3);
    connect(paper_[k], &QRadioButton::clicked, this, [this, k] {
      int16_t w = 0, h = 0;
      if (!PaperSizeOf(k, w, h)) return;  // "User": the boxes are typed
      text_[0]->setText(QString::number(w));
      text_[1]->setText(QString::number(h));
    });
  }
  page_grid->addWidget(new QLabel("Width", page), 2, 0);
  page_grid->addWidget(text_[0], 2, 1);
  page_grid->addWidget(new QLabel("mm", page), 2, 2);
  page_grid->addWidget(new QLabel("Height", page), 3, 0);
  page_grid->addWidget(text_[1], 3, 1);
  page_grid->addWidget(new QLabel("mm", page), 3, 2);

  auto* direction = new QGroupBox("Direction", this);
  auto* direction_box = new QVBoxLayout(direction);
  vertical_ = new QRadioButton("Vertical", direction);
  vertical_->setObjectName("Option4");
  horizontal_ = new QRadioButton("Horizontal", direction);
  horizontal_->setObjectName("Option5");
  direction_box->addWidget(vertical_);
  direction_box->addWidget(horizontal_);

  auto* space = new QGroupBox("Space", this);
  auto* space_grid = new QGridLayout(space);
  const char* const kSides[4] = {"Left", "Right", "Top", "Down"};
  for (int i = 0; i < 4; ++i) {
    space_grid->addWidget(new QLabel(kSides[i], space), i, 0);
    space_grid->addWidget(text_[2 + i], i, 1);
    space_grid->addWidget(new QLabel("mm", space), i, 2);
  }

  auto* scale = new QGroupBox("Picture Scale", this);
  auto* scale_box = new QHBoxLayout(scale);
  auto* add = MakeButton(scale, "CommandAddPictureScale", "+");
  auto* subtract = MakeButton(scale, "CommandSubtractPictureScale", "\u2212");
  scale_box->addWidget(text_[6]);
  scale_box->addWidget(add);
  scale_box->addWidget(subtract);
  auto rescale = [this](float (*step)(float)) {
    const std::optional<double> s = NumericValue(text_[6]->text().toStdString());
    if (!s) return;
    text_[6]->setText(QString::fromStdString(ExactFloatText(step(static_cast<float>(*s)))));
  };
  connect(add, &QPushButton::clicked, this, [rescale] { rescale(PictureScaleUp); });
  connect(subtract, &QPushButton::clicked, this, [rescale] { rescale(PictureScaleDown); });

  auto* move = new QGroupBox("Move Picture", this);
  auto* move_grid = new QGridLayout(move);
  auto* up = MakeButton(move, "Command2", "Up");
  auto* down = MakeButton(move, "Command1", "Down");
  auto* left = MakeButton(move, "Command4", "Left");
  auto* right = MakeButton(move, "Command3", "Right");
  move_grid->addWidget(text_[7], 0, 0);
  move_grid->addWidget(up, 0, 1);
  move_grid->addWidget(down, 0, 2);
  move_grid->addWidget(text_[8], 1, 0);
  move_grid->addWidget(left, 1, 1);
  move_grid->addWidget(right, 1, 2);
  connect(up, &QPushButton::clicked, this, [this] { Step(7, 10); });
  connect(down, &QPushButton::clicked, this, [this] { Step(7, -10); });
  connect(left, &QPushButton::clicked, this, [this] { Step(8, 10); });
  connect(right, &QPushButton::clicked, this, [this] { Step(8, -10); });

  auto* ok = MakeButton(this, "OKButton", "Ok");
  auto* cancel = MakeButton(this, "CancelButton", "Cancel");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &DialogPage::AcceptValues);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(page, 0, 0, 2, 1);
  grid->addWidget(direction, 0, 1);
  grid->addWidget(space, 1, 1);
  grid->addWidget(scale, 2, 0);
  grid->addWidget(move, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 3, 0, 1, 2);

  // Opening: the handed values into the buttons and boxes.
  if (values_.PaperKind >= 0 && values_.PaperKind <= 5) paper_[values_.PaperKind]->setChecked(true);
  (values_.PaperDirection != 0 ? horizontal_ : vertical_)->setChecked(true);
  const PageSetupTexts texts = PageSetupToTexts(values_);
  for (int i = 0; i < 9; ++i) text_[i]->setText(QString::fromStdString(texts[static_cast<size_t>(i)]));
}

QPushButton* DialogPage::Button(const QString& name) const { return findChild<QPushButton*>(name); }

int DialogPage::SelectedKind() const {
  for (int k = 0; k < 6; ++k) {
    if (paper_[k]->isChecked()) return k;
  }
  return values_.PaperKind;
}

void DialogPage::Step(int text, int delta) {
  const std::optional<double> v = NumericValue(text_[text]->text().toStdString());
  const double next = std::clamp((v ? std::nearbyint(*v) : 0.0) + delta, -32768.0, 32767.0);
  text_[text]->setText(QString::number(static_cast<int>(next)));
}

void DialogPage::AcceptValues() {
  PageSetupTexts texts;
  for (size_t i = 0; i < texts.size(); ++i) texts[i] = text_[i]->text().toStdString();
  const std::optional<PageSetup> v = PageSetupFromTexts(SelectedKind(), horizontal_->isChecked() ? 1 : 0, texts);
  if (!v) {
    ui_.Message("Error");
    return;
  }
  values_ = *v;
  accept();
}

}  // namespace accelog
