#include "ui/form2.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "core/ui_port.h"
#include "model/kvx_file.h"
#include "app/data_list.h"
#include "model/dataset.h"
#include "app/shell_rules.h"
#include "ui/twips.h"

namespace accelog {

namespace {

const char* const kHeaders[9] = {"No",         "Date",            "X(mg)",
                                 "Y(mg)",      "Z(mg)",           "Vector Sum",
                                 "X Angle(degree)", "Y Angle(degree)", "Z Angle(degree)"};
// The widest text each column shows, so paging never moves the grid.
const char* const kWidest[9] = {"330000",   "31/12/2013  23:59:59", "-16000.05", "-16000.05", "-16000.05",
                                "27712.8", "-90.0",                "-90.0",     "-90.0"};

}  // namespace

Form2::Form2(QWidget* owner, Dataset& data) : QWidget(owner, Qt::Window), data_(data) {
  setObjectName("Form2");
  setWindowTitle("Data List");
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  UseChartBackColor(this);

  // The grid: labels on a dark ground, one pixel apart, draw the lines.
  auto* grid_frame = new QWidget(this);
  grid_frame->setAutoFillBackground(true);
  QPalette lines = grid_frame->palette();
  lines.setColor(QPalette::Window, Qt::darkGray);
  grid_frame->setPalette(lines);
  auto* grid = new QGridLayout(grid_frame);
  grid->setSpacing(1);
  grid->setContentsMargins(1, 1, 1, 1);
  const QFontMetrics fm(font());
  for (int c = 0; c < 9; ++c) {
    auto* head = new QLabel(kHeaders[c], grid_frame);
    UseChartBackColor(head);
    head->setAlignment(Qt::AlignCenter);
    head->setMinimumWidth(std::max(fm.horizontalAdvance(kHeaders[c]), fm.horizontalAdvance(kWidest[c])) +
                          fm.horizontalAdvance("  "));
    grid->addWidget(head, 0, c);
    for (int k = 0; k < kListRows; ++k) {
      auto* cell = new QLabel(grid_frame);
      cell->setObjectName(QString("Label%1_%2").arg(c).arg(k));
      cell->setAutoFillBackground(true);
      cell->setBackgroundRole(QPalette::Base);
      cell->setAlignment((c == 1 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      cell->setContentsMargins(4, 1, 4, 1);
      grid->addWidget(cell, k + 1, c);
      label_[c][k] = cell;
    }
  }

  const char* captions[4] = {"Exit", "Previous ", "Next", "Move"};
  for (int i = 0; i < 4; ++i) {
    command_[i] = new QPushButton(captions[i], this);
    command_[i]->setObjectName(QString("Command%1").arg(i + 1));
    command_[i]->setAutoDefault(false);
  }
  text1_ = new QLineEdit(this);
  text1_->setObjectName("Text1");
  text1_->setMaximumWidth(fm.horizontalAdvance("3300000") + 16);
  command5_ = new QToolButton(this);
  command5_->setObjectName("Command5");
  command5_->setArrowType(Qt::UpArrow);
  command5_->setToolTip("One row back");
  command6_ = new QToolButton(this);
  command6_->setObjectName("Command6");
  command6_->setArrowType(Qt::DownArrow);
  command6_->setToolTip("One row forward");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(command_[0]);
  buttons->addSpacing(fm.horizontalAdvance("MM"));
  buttons->addWidget(command_[1]);
  buttons->addWidget(command_[2]);
  buttons->addWidget(command5_);
  buttons->addWidget(command6_);
  buttons->addStretch(1);
  buttons->addWidget(text1_);
  buttons->addWidget(command_[3]);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_frame);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(command_[0], &QPushButton::clicked, this, &Form2::Command1_Click);
  connect(command_[1], &QPushButton::clicked, this, &Form2::Command2_Click);
  connect(command_[2], &QPushButton::clicked, this, &Form2::Command3_Click);
  connect(command_[3], &QPushButton::clicked, this, &Form2::Command4_Click);
  connect(text1_, &QLineEdit::returnPressed, this, &Form2::Command4_Click);
  connect(command5_, &QToolButton::clicked, this, &Form2::Command5_Click);
  connect(command6_, &QToolButton::clicked, this, &Form2::Command6_Click);
  // Page Up / Page Down while the list is the active window.
  connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, this, &Form2::Command2_Click);
  connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, this, &Form2::Command3_Click);
  CloseOnEscapeAndCtrlW(this);

  data_.MenuCommandCode = MenuOperation::DataList;
  loaded_ = true;
  data_.BuildNoZeroCopy();
  count_ = data_.CountPointNoZero;
  top_ = 1;
  DispData(top_);
}

Form2::~Form2() { Unload(); }

void Form2::Unload() {
  if (!loaded_) return;
  loaded_ = false;
  data_.MenuCommandCode = MenuOperation::None;
}

void Form2::DispData(int32_t top) {
  for (int k = 0; k < kListRows; ++k) {
    const auto texts = ListRowTexts(data_, top + k, count_);
    for (int c = 0; c < 9; ++c) label_[c][k]->setText(QString::fromStdString(texts[static_cast<size_t>(c)]));
  }
}

void Form2::Command1_Click() { close(); }

void Form2::Command2_Click() {
  top_ = PreviousPageTop(top_);
  DispData(top_);
}

void Form2::Command3_Click() {
  top_ = NextPageTop(top_, count_);
  DispData(top_);
}

void Form2::Command4_Click() {
  const MoveResult m = MoveTop(text1_->text().toStdString(), count_);
  top_ = m.top;
  text1_->setText(QString::fromStdString(m.box));
  if (m.redraw) DispData(top_);
}

void Form2::Command5_Click() {
  top_ = RowBackTop(top_);
  DispData(top_);
}

void Form2::Command6_Click() {
  top_ = RowForwardTop(top_, count_);
  DispData(top_);
}

QString Form2::Cell(int row, int column) const { return label_[column][row]->text(); }

QPushButton* Form2::Button(int n) const { return command_[n - 1]; }

QToolButton* Form2::RowButton(int n) const { return n == 5 ? command5_ : command6_; }

void Form2::closeEvent(QCloseEvent* event) {
  Unload();
  event->accept();
}

void Form2::wheelEvent(QWheelEvent* event) {
  // Turning the wheel over the list pages it as over the main window.
  if (event->angleDelta().y() == 0) return QWidget::wheelEvent(event);
  PageByWheel(event->angleDelta().y());
  event->accept();
}

Form2* OpenDataListWindow(QWidget* owner, Dataset& data, UiPort& ui) {
  if (data.MenuCommandCode == MenuOperation::None && !(data.DataLoaded && data.DispEndPoint != 0)) {
    ui.StatusPanel(kFileNotePanel, kOpenAFileFirst);
  }
  if (data.DispEndPoint == 0 || !data.DataLoaded || data.MenuCommandCode != MenuOperation::None) return nullptr;
  auto* list = new Form2(owner, data);
  list->show();
  return list;
}

void Form2::PageByWheel(int delta) {
  if (delta < 0) Command6_Click();
  else Command5_Click();
}

}  // namespace accelog
