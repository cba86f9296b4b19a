#include "ui/ab_readout.h"

#include <QGridLayout>
#include <QLabel>

#include "app/ab_cursors.h"
#include "model/text_util.h"
#include "ui/twips.h"

namespace accelog {

namespace {
const char* const kHeads[8] = {"", "Point", "Date and time", "X (mg)", "Y (mg)", "Z (mg)", "V (mg)",
                               "1/\u0394t (Hz)"};
const char* const kRows[3] = {"A", "B", "B \u2212 A"};
}  // namespace

// A window of its own, not a tool window: a tool window hands its keys to the
// main window, and Escape would stop a download instead of closing it.
AbReadOutWindow::AbReadOutWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName("AbReadOut");
  setWindowTitle("A/B Cursors");
  CloseOnEscapeAndCtrlW(this);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setHorizontalSpacing(14);
  grid->setVerticalSpacing(2);
  const QFontMetrics fm(font());
  for (int c = 0; c < kColumns; ++c) {
    auto* head = new QLabel(QString::fromUtf8(kHeads[c]), this);
    head->setAlignment(c == 2 ? Qt::AlignLeft : Qt::AlignRight);
    grid->addWidget(head, 0, c);
  }
  // Wide enough for the longest values, so dragging never resizes the window.
  grid->setColumnMinimumWidth(1, fm.horizontalAdvance("-330000"));
  grid->setColumnMinimumWidth(2, fm.horizontalAdvance("2026-12-06 10:00:00.500"));
  for (int c = 3; c < kColumns; ++c) grid->setColumnMinimumWidth(c, fm.horizontalAdvance("-16000.05"));
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      auto* cell = new QLabel(c == 0 ? QString::fromUtf8(kRows[r]) : QString(), this);
      cell->setAlignment((c == 2 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      cell->setTextInteractionFlags(Qt::TextSelectableByMouse);
      if (c == 0) {
        QFont bold = cell->font();
        bold.setBold(true);
        cell->setFont(bold);
      }
      grid->addWidget(cell, r + 1, c);
      cells_[static_cast<size_t>(r)][static_cast<size_t>(c)] = cell;
    }
  }
}

QString AbReadOutWindow::Cell(int row, int column) const {
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(column)]->text();
}

void AbReadOutWindow::Show(const AbReadOut& r) {
  auto set = [this](int row, int column, const QString& text) {
    cells_[static_cast<size_t>(row)][static_cast<size_t>(column)]->setText(text);
  };
  int row = 0;
  for (const AbPoint* p : {&r.a, &r.b}) {
    set(row, 1, QString::number(p->point));
    set(row, 2, QString::fromStdString(p->time));
    for (int k = 0; k < 4; ++k) set(row, 3 + k, QString::fromStdString(FloatText(p->values[static_cast<size_t>(k)])));
    ++row;
  }
  set(2, 1, QString::number(r.points));
  set(2, 2, QString::number(r.seconds, 'f', 3) + " s");
  for (size_t k = 0; k < 4; ++k) set(2, 3 + static_cast<int>(k), QString::fromStdString(DifferenceText(r.a.values[k], r.b.values[k])));
  set(2, 7, r.hertz == 0 ? QString("\u2013") : QString::number(r.hertz, 'g', 6));
}

}  // namespace accelog
