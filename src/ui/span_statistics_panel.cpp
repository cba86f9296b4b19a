#include "ui/span_statistics_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/span_statistics.h"
#include "ui/twips.h"

namespace accelog {

namespace {
const char* const kChannelNames[kChannels] = {"X (mg)", "Y (mg)", "Z (mg)", "Vector Sum (mg)",
                                              "X Angle (\u00b0)", "Y Angle (\u00b0)", "Z Angle (\u00b0)"};
const char* const kColumnNames[9] = {"Min", "at point", "Max", "at point", "Peak-peak", "Mean", "RMS", "Std dev", "Crest"};
}  // namespace

SpanStatisticsPanel::SpanStatisticsPanel(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName("SpanStatistics");
  setWindowTitle("Span Statistics");
  CloseOnEscapeAndCtrlW(this);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 8);
  heading_ = new QLabel(this);
  column->addWidget(heading_);
  table_ = new QTableWidget(kChannels, 9, this);
  for (int c = 0; c < 9; ++c) table_->setHorizontalHeaderItem(c, new QTableWidgetItem(kColumnNames[c]));
  for (int r = 0; r < kChannels; ++r) {
    table_->setVerticalHeaderItem(r, new QTableWidgetItem(QString::fromUtf8(kChannelNames[r])));
    for (int c = 0; c < 9; ++c) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      table_->setItem(r, c, item);
    }
  }
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  const QFontMetrics fm(table_->font());
  for (int c = 0; c < 9; ++c) table_->setColumnWidth(c, fm.horizontalAdvance(c == 1 || c == 3 ? "330000 " : "-16000.000 ") + 8);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The whole table, without scrolling.
  int width = table_->verticalHeader()->sizeHint().width() + 2 * table_->frameWidth();
  for (int c = 0; c < 9; ++c) width += table_->columnWidth(c);
  const int height = table_->horizontalHeader()->sizeHint().height() + kChannels * table_->rowHeight(0) +
                     2 * table_->frameWidth();
  table_->setFixedSize(width + 4, height + 2);
  column->addWidget(table_);
  ShowNothing();
}

void SpanStatisticsPanel::ShowNothing() {
  heading_->setText("No file in the acceleration chart.");
  for (int r = 0; r < kChannels; ++r) {
    for (int c = 0; c < 9; ++c) table_->item(r, c)->setText(QString());
  }
}

void SpanStatisticsPanel::Show(const SpanStatistics& s, bool between_cursors) {
  heading_->setText(QString("%1: points %2 to %3, %4 of them not all-zero")
                        .arg(between_cursors ? "Between the cursors" : "Shown window")
                        .arg(s.from)
                        .arg(s.to)
                        .arg(s.count));
  for (int r = 0; r < kChannels; ++r) {
    const ChannelSpan& ch = s.channels[static_cast<size_t>(r)];
    const bool any = s.count > 0;
    auto number = [any](double v, int decimals) { return any ? QString::number(v, 'f', decimals) : QString(); };
    const QString texts[9] = {number(ch.min, 2),  any ? QString::number(ch.min_point) : QString(),
                              number(ch.max, 2),  any ? QString::number(ch.max_point) : QString(),
                              number(ch.p2p, 2),  number(ch.mean, 2),
                              number(ch.rms, 2),  number(ch.std, 2),
                              number(ch.crest, 3)};
    for (int c = 0; c < 9; ++c) table_->item(r, c)->setText(texts[c]);
  }
}

}  // namespace accelog
