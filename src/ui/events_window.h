#pragma once
// Data > "Events...": the threshold events of the file on view (channel,
// start, duration, peak, points) for a threshold the user edits, against the
// channel's mean or zero. A double click on an event asks for it on the chart.
#include <QWidget>
#include <string>

#include "model/threshold_events.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTableView;

namespace accelog {

class EventTableModel;

class EventsWindow : public QWidget {
  Q_OBJECT
 public:
  EventsWindow(QWidget* owner, const Dataset& data);
  ~EventsWindow() override;

  // The list made for the file on view when it is another one, from that
  // file's default threshold. `available`: a file is in the acceleration chart.
  void FollowFile(bool available);
  const EventList& Events() const { return list_; }
  QDoubleSpinBox* Threshold() const { return threshold_; }
  QComboBox* BaselineChoice() const { return baseline_; }
  QTableView* Table() const { return table_; }
  QLabel* Summary() const { return summary_; }
  // Room for every column and a page of events.
  QSize sizeHint() const override;

 signals:
  void EventChosen(const ThresholdEvent& event);

 private:
  void MakeList();

  const Dataset& data_;
  EventList list_;
  bool available_ = false;
  std::string file_;  // the file the list is made for, with its count; empty for none
  QDoubleSpinBox* threshold_ = nullptr;
  QComboBox* baseline_ = nullptr;
  QLabel* summary_ = nullptr;
  QTableView* table_ = nullptr;
  EventTableModel* model_ = nullptr;
};

}  // namespace accelog
