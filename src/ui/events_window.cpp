#include "ui/events_window.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "app/event_list.h"
#include "model/text_util.h"
#include "ui/twips.h"

namespace accelog {

namespace {
const char* const kChannelNames[kEventChannels] = {"X", "Y", "Z", "Vector Sum"};
const char* const kHeads[5] = {"Channel", "Start", "Duration (s)", "Peak (mg)", "Points"};
}  // namespace

// The events as table rows, read from the window's list without a copy.
class EventTableModel : public QAbstractTableModel {
 public:
  EventTableModel(QObject* parent, const EventList& list) : QAbstractTableModel(parent), list_(list) {}
  void Reset() {
    beginResetModel();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.events.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 5; }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return QString(kHeads[section]);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role == Qt::TextAlignmentRole)
      return QVariant::fromValue(index.column() <= 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const ThresholdEvent& e = list_.events[static_cast<size_t>(index.row())];
    switch (index.column()) {
      case 0: return QString(kChannelNames[e.channel]);
      case 1: return QString::fromStdString(ShownTime(e.start));
      case 2: return QString::number(e.duration_s, 'f', 3);
      case 3: return QString::fromStdString(FloatText(static_cast<float>(e.peak)));
      default: return e.points;
    }
  }

 private:
  const EventList& list_;
};

EventsWindow::EventsWindow(QWidget* owner, const Dataset& data) : QWidget(owner, Qt::Window), data_(data) {
  setObjectName("Events");
  setWindowTitle("Events");
  CloseOnEscapeAndCtrlW(this);
  auto* column = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Threshold:", this));
  threshold_ = new QDoubleSpinBox(this);
  threshold_->setDecimals(1);
  threshold_->setRange(0.1, 100000);
  threshold_->setSuffix(" mg");
  threshold_->setKeyboardTracking(false);  // the list follows a finished entry, not each digit
  row->addWidget(threshold_);
  row->addSpacing(12);
  row->addWidget(new QLabel("from", this));
  baseline_ = new QComboBox(this);
  baseline_->addItems({"the channel's mean", "zero"});
  row->addWidget(baseline_);
  row->addStretch(1);
  column->addLayout(row);
  summary_ = new QLabel(this);
  summary_->setWordWrap(true);
  column->addWidget(summary_);
  table_ = new QTableView(this);
  model_ = new EventTableModel(this, list_);
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  const QFontMetrics fm(table_->font());
  const char* const widest[5] = {"Vector Sum", "2026-12-06 10:00:00.500", "Duration (s)", "-16000.05", "330000"};
  for (int c = 0; c < 5; ++c) table_->setColumnWidth(c, fm.horizontalAdvance(widest[c]) + 24);
  table_->horizontalHeader()->setStretchLastSection(true);
  column->addWidget(table_, 1);

  MakeList();
  connect(threshold_, &QDoubleSpinBox::valueChanged, this, &EventsWindow::MakeList);
  connect(baseline_, &QComboBox::currentIndexChanged, this, &EventsWindow::MakeList);
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit EventChosen(list_.events[static_cast<size_t>(index.row())]);
  });
}

EventsWindow::~EventsWindow() = default;

QSize EventsWindow::sizeHint() const {
  int width = 0;
  for (int c = 0; c < 5; ++c) width += table_->columnWidth(c);
  width += table_->verticalScrollBar()->sizeHint().width() + 2 * table_->frameWidth();
  const QMargins m = layout()->contentsMargins();
  return {width + m.left() + m.right(), 16 * table_->verticalHeader()->defaultSectionSize() + 100};
}

void EventsWindow::FollowFile(bool available) {
  const std::string file = available ? data_.DataFileName + '\n' + std::to_string(data_.CountPoint) : "";
  if (file == file_) return;  // the list is the file's already
  file_ = file;
  available_ = available;
  if (available) {
    QSignalBlocker block(threshold_);
    threshold_->setValue(DefaultEventThreshold(data_));
  }
  MakeList();
}

void EventsWindow::MakeList() {
  list_ = {};
  if (available_) {
    EventOptions options;
    options.threshold = threshold_->value();
    options.baseline = baseline_->currentIndex() == 1 ? Baseline::Zero : Baseline::Mean;
    list_ = FindThresholdEvents(data_, options);
  }
  model_->Reset();
  if (!available_) return summary_->setText("No file in the acceleration chart.");
  QString text = QString("%1 event%2 of X, Y, Z or Vector Sum at least %3 mg from ")
                     .arg(list_.events.size())
                     .arg(list_.events.size() == 1 ? "" : "s")
                     .arg(threshold_->value());
  if (baseline_->currentIndex() == 1) {
    text += "zero.";
  } else {
    QStringList means;
    for (int c = 0; c < kEventChannels; ++c)
      means << QString("%1 %2").arg(kChannelNames[c]).arg(list_.baseline[static_cast<size_t>(c)], 0, 'f', 1);
    text += "the channel's mean (" + means.join(", ") + " mg).";
  }
  if (!list_.events.empty()) text += " A double click shows an event on the chart between the A/B cursors.";
  summary_->setText(text);
}

}  // namespace accelog
