#include "ui/parameter_dialog_qt.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>


namespace accelog {

namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

ParameterDialogQt::ParameterDialogQt(ParameterStore& store, KeypadPort& keypad, UiPort& ui, ClockReading (*clock)(),
                                     QWidget* parent)
    : QDialog(parent), store_(store), keypad_(keypad), ui_(ui), clock_(clock) {
  OpenParameterForm(form_, store_.Values(), clock_());
  Build();
  Refresh();
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(1000);
  connect(timer1_, &QTimer::timeout, this, [this] {
    TickParameterClock(form_, clock_());
    Refresh();
  });
  if (form_.ClockRunning) timer1_->start();
}

void ParameterDialogQt::Build() {
  const auto& c = ParameterCaptionsFor(store_.Values().LanguageFlag);
  setObjectName("SetMachineParameter");
  setWindowTitle(Q(c.Window));
  QFont f = font();
  f.setPointSize(10);
  setFont(f);

  // Boxes are as wide as their longest value, not as wide as the window.
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  auto make_box = [&](int n, QWidget* parent, int digits) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("Text%1").arg(n));
    box->setFixedWidth(digit * digits + 18);
    box->setAlignment(Qt::AlignRight);
    if (n != 1) {
      // A value box is not typed into: a click, Space or F4 opens the keypad.
      box->setReadOnly(true);
      box->setCursor(Qt::PointingHandCursor);
      box->installEventFilter(this);
    }
    text_[static_cast<size_t>(n)] = box;
    return box;
  };
  auto make_frame = [&](int n, const char* caption) {
    auto* g = new QGroupBox(Q(caption), this);
    g->setObjectName(QStringLiteral("Frame%1").arg(n));
    frame_[static_cast<size_t>(n)] = g;
    return g;
  };
  auto make_option = [&](int n, const char* caption, QWidget* parent, QButtonGroup* group) {
    auto* o = new QRadioButton(Q(caption), parent);
    o->setObjectName(QStringLiteral("Option%1").arg(n));
    group->addButton(o, n);
    option_[static_cast<size_t>(n)] = o;
    connect(o, &QRadioButton::clicked, this, [this, n] {
      ClickOption(form_, store_.Values(), n);
      Refresh();
    });
    return o;
  };
  auto label = [&](const char* caption, QWidget* parent) { return new QLabel(Q(caption), parent); };

  // Port.
  auto* frame0 = make_frame(0, c.PortFrame);
  auto* l0 = new QHBoxLayout(frame0);
  auto* label1 = label(c.PortLabel, frame0);
  l0->addWidget(label1);
  auto* text1 = make_box(1, frame0, 4);
  label1->setBuddy(text1);
  connect(text1, &QLineEdit::textEdited, this, [this](const QString& t) { form_.Text[1] = t.toStdString(); });
  l0->addWidget(text1);
  l0->addStretch(1);

  // Interval and its unit.
  auto* frame1 = make_frame(1, c.IntervalFrame);
  auto* l1 = new QHBoxLayout(frame1);
  l1->addWidget(make_box(2, frame1, 6));
  auto* units = new QButtonGroup(this);
  make_option(1, c.Millisecond, frame1, units);
  make_option(2, c.Second, frame1, units);
  make_option(3, c.Minute, frame1, units);
  make_option(4, c.Hour, frame1, units);
  for (int i = 1; i <= 4; ++i) l1->addWidget(option_[static_cast<size_t>(i)]);
  l1->addStretch(1);

  // LED cycle.
  auto* frame2 = make_frame(2, c.LedFrame);
  auto* l2 = new QHBoxLayout(frame2);
  l2->addWidget(make_box(3, frame2, 4));
  l2->addWidget(label(c.LedUnit, frame2));
  l2->addStretch(1);

  // Critical values.
  auto* frame3 = make_frame(3, c.CriticalFrame);
  auto* l3 = new QHBoxLayout(frame3);
  const char* axis[3] = {c.XAxis, c.YAxis, c.ZAxis};
  for (int i = 0; i < 3; ++i) {
    l3->addWidget(label(axis[i], frame3));
    l3->addWidget(make_box(4 + i, frame3, 3));
    if (i < 2) l3->addSpacing(digit);
  }
  l3->addStretch(1);

  // Record mode and work mode.
  auto* frame4 = make_frame(4, c.RecordModeFrame);
  auto* l4 = new QHBoxLayout(frame4);
  auto* record = new QButtonGroup(this);
  l4->addWidget(make_option(5, c.Normal, frame4, record));
  l4->addWidget(make_option(6, c.Critical, frame4, record));
  l4->addStretch(1);
  auto* frame5 = make_frame(5, c.WorkModeFrame);
  auto* l5 = new QHBoxLayout(frame5);
  auto* work = new QButtonGroup(this);
  l5->addWidget(make_option(7, c.Manual, frame5, work));
  l5->addWidget(make_option(8, c.Auto, frame5, work));
  l5->addWidget(make_option(9, c.Timing, frame5, work));
  l5->addStretch(1);

  // Current time (display only) and start time: six labelled boxes each.
  auto time_frame = [&](int n, const char* caption, int first_box) {
    auto* g = make_frame(n, caption);
    auto* grid = new QGridLayout(g);
    for (int i = 0; i < 6; ++i) {
      auto* box = make_box(first_box + i, g, 4);
      auto* l = label(c.TimeLabels[static_cast<size_t>(i)], g);
      l->setBuddy(box);
      grid->addWidget(box, 0, 2 * i);
      grid->addWidget(l, 0, 2 * i + 1);
      grid->setColumnMinimumWidth(2 * i + 1, 0);
    }
    grid->setColumnStretch(12, 1);
    return g;
  };
  time_frame(6, c.CurrentTimeFrame, 7);
  for (int i = 7; i <= 12; ++i) text_[static_cast<size_t>(i)]->setEnabled(false);
  time_frame(7, c.StartTimeFrame, 13);

  // Limit, with its kind in the real-time layout. The label says what the
  // number counts, so the frame itself has no caption.
  auto* frame8 = make_frame(8, "");
  auto* l8 = new QHBoxLayout(frame8);
  label18_ = new QLabel(frame8);
  label18_->setObjectName("Label18");
  // Room for either text, so switching the limit kind does not resize.
  int label18_width = 0;
  for (const char* t : {kLimitMinutes, kLimitTimes}) {
    label18_->setText(Q(t));
    label18_width = std::max(label18_width, label18_->sizeHint().width());
  }
  label18_->setMinimumWidth(label18_width);
  l8->addWidget(label18_);
  l8->addWidget(make_box(19, frame8, 6));
  label18_->setBuddy(text_[19]);
  auto* kind = new QButtonGroup(this);
  l8->addSpacing(digit * 2);
  l8->addWidget(make_option(10, c.LimitByTime, frame8, kind));
  l8->addWidget(make_option(11, c.LimitByCount, frame8, kind));
  l8->addStretch(1);

  ok_ = new QPushButton(Q(c.OKButton), this);
  ok_->setObjectName("OKButton");
  ok_->setDefault(true);
  cancel_ = new QPushButton(Q(c.CancelButton), this);
  cancel_->setObjectName("CancelButton");
  cancel_->setAutoDefault(false);
  const int button_width = std::max(ok_->sizeHint().width(), cancel_->sizeHint().width()) + digit * 2;
  ok_->setMinimumWidth(button_width);
  cancel_->setMinimumWidth(button_width);
  connect(ok_, &QPushButton::clicked, this, &ParameterDialogQt::PressOk);
  connect(cancel_, &QPushButton::clicked, this, &ParameterDialogQt::reject);

  // Full layout: two columns of small frames, then the wide ones. The
  // real-time layout hides all but Frame1 and Frame8, so those two and the
  // buttons close up to the top in that order.
  auto* grid = new QGridLayout;
  grid->addWidget(frame0, 0, 0);
  grid->addWidget(frame1, 0, 1);
  grid->addWidget(frame2, 1, 0);
  grid->addWidget(frame3, 1, 1);
  grid->addWidget(frame4, 2, 0);
  grid->addWidget(frame5, 2, 1);
  grid->addWidget(frame_[6], 3, 0, 1, 2);
  grid->addWidget(frame_[7], 4, 0, 1, 2);
  grid->addWidget(frame8, 5, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  if (!form_.GroupVisible[PortGroup]) {
    // Alone in its row, the interval frame takes the full width.
    grid->removeWidget(frame1);
    grid->addWidget(frame1, 0, 0, 1, 2);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  // Tab order follows the reading order; the disabled clock is skipped.
  QWidget* order[] = {text1,       text_[2],   option_[1], option_[2], option_[3], option_[4],
                      text_[3],    text_[4],   text_[5],   text_[6],   option_[5], option_[6],
                      option_[7],  option_[8], option_[9], text_[13],  text_[14],  text_[15],
                      text_[16],   text_[17],  text_[18],  text_[19],  option_[10], option_[11],
                      ok_,         cancel_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void ParameterDialogQt::Refresh() {
  for (int i = 1; i <= 19; ++i) {
    auto* box = text_[static_cast<size_t>(i)];
    const QString t = Q(form_.Text[static_cast<size_t>(i)]);
    if (box->text() != t) box->setText(t);
  }
  for (int i = 1; i <= 11; ++i) {
    auto* o = option_[static_cast<size_t>(i)];
    o->setVisible(form_.OptionVisible[static_cast<size_t>(i)]);
    if (o->isChecked() != form_.Option[static_cast<size_t>(i)]) {
      // An exclusive group cannot be emptied by unchecking one button.
      auto* group = o->group();
      group->setExclusive(false);
      o->setChecked(form_.Option[static_cast<size_t>(i)]);
      group->setExclusive(true);
    }
  }
  for (int i = 0; i <= 8; ++i) {
    frame_[static_cast<size_t>(i)]->setVisible(form_.GroupVisible[static_cast<size_t>(i)]);
    frame_[static_cast<size_t>(i)]->setEnabled(form_.GroupEnabled[static_cast<size_t>(i)]);
  }
  for (int i = 4; i <= 6; ++i) text_[static_cast<size_t>(i)]->setEnabled(form_.CriticalEnabled);
  label18_->setText(Q(form_.LimitCaption));
}

bool ParameterDialogQt::eventFilter(QObject* watched, QEvent* event) {
  for (int i = 2; i <= 19; ++i) {
    if (watched != text_[static_cast<size_t>(i)]) continue;
    const bool click = event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    bool key = false;
    if (event->type() == QEvent::KeyPress) {
      const int k = static_cast<QKeyEvent*>(event)->key();
      key = k == Qt::Key_Space || k == Qt::Key_F4;
    }
    if (click || key) {
      OpenKeypad(i);
      return true;
    }
    return false;
  }
  return QDialog::eventFilter(watched, event);
}

void ParameterDialogQt::OpenKeypad(int box) {
  ClickValueBox(form_, store_.Values(), keypad_, box);
  Refresh();
}

void ParameterDialogQt::PressOk() {
  form_.Text[1] = text_[1]->text().toStdString();
  if (OkParameterForm(ui_, form_, store_)) {
    timer1_->stop();
    accept();
  }
}

void ParameterDialogQt::reject() {
  CancelParameterForm(form_, store_.Values());
  timer1_->stop();
  QDialog::reject();
}

}  // namespace accelog
