#include "ui/form_picture.h"

#include <cstdio>
#include <functional>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <cmath>

#include "app/chart.h"
#include "app/shell_rules.h"
#include "ui/chart_painter.h"

namespace accelog {

namespace {
QString BackColorCss() {
  const uint32_t c = kChartBackColor;  // 0xBBGGRR
  return QString("rgb(%1,%2,%3)").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF);
}
}  // namespace

FormPicture::FormPicture(Chart& chart, QWidget* parent) : QWidget(parent), chart_(chart) {
  chart_.LoadWindow();
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  CreateControls();
  ApplyFonts();
  LayOutControls();
  SyncFromScene();
}

double FormPicture::PixelsPerTwip() const { return logicalDpiX() / 1440.0 * zoom_; }

QSize FormPicture::NormalSize() const {
  const double s = logicalDpiX() / 1440.0;
  return QSize(static_cast<int>(std::lround(chart_.scene.Width * s)), static_cast<int>(std::lround(chart_.scene.Height * s)));
}

void FormPicture::SetZoom(double zoom) {
  if (zoom <= 0 || zoom == zoom_) return;
  zoom_ = zoom;
  ApplyFonts();
  LayOutControls();
  update();
}

void FormPicture::ApplyFonts() {
  QFont f = font();
  f.setPointSizeF(8 * zoom_);
  setFont(f);
  // Styled children do not follow the window's font: each gets its own.
  for (int i = 1; i <= 13; ++i) check_[i]->setFont(f);
  for (QWidget* w : {static_cast<QWidget*>(all_points_), static_cast<QWidget*>(previous_),
                     static_cast<QWidget*>(next_)}) {
    w->setFont(f);
  }
  // The panel's 23 boxes share the window's width: one size smaller.
  f.setPointSizeF(7 * zoom_);
  for (int i = 1; i <= 24; ++i) {
    caption_[i]->setFont(f);
    text_[i]->setFont(f);
  }
}

QPoint FormPicture::ToPixels(int32_t x, int32_t y) const {
  const double s = PixelsPerTwip();
  return QPoint(static_cast<int>(std::lround(x * s)), static_cast<int>(std::lround(y * s)));
}

QPointF FormPicture::ToTwips(const QPointF& px) const {
  const double s = PixelsPerTwip();
  return QPointF(px.x() / s, px.y() / s);
}

QRect FormPicture::PixelRect(int32_t ox, int32_t oy, int32_t left, int32_t top, int32_t width,
                             int32_t height) const {
  const QPoint a = ToPixels(ox + left, oy + top);
  const QPoint b = ToPixels(ox + left + width, oy + top + height);
  return QRect(a, b - QPoint(1, 1));
}

void FormPicture::CreateControls() {
  const QString back = BackColorCss();
  // A styled push button ignores a bare background: with a border of its own
  // the sheet draws the whole button, so it takes ChartBackColor too.
  setStyleSheet(QString("QCheckBox, QLabel { background: %1; }"
                        "QPushButton { background: %1; border: 1px solid rgb(128,128,128);"
                        " border-radius: 2px; padding: 1px 4px; }"
                        "QPushButton:pressed { background: rgb(200,200,190); }"
                        "QPushButton:disabled { color: rgb(150,150,150); }"
                        "QLineEdit { background: %1; border: 1px solid rgb(160,160,160); }")
                    .arg(back));
  for (int i = 1; i <= 13; ++i) {
    check_[i] = new QCheckBox(QString::fromStdString(chart_.scene.CheckBox[i].Caption), this);
    connect(check_[i], &QCheckBox::clicked, this, [this, i](bool on) {
      const int16_t v = on ? 1 : 0;
      if (i <= 7) chart_.SetCurveShown(i - 1, v);
      else if (i == 8) chart_.SetPointsShown(v);
      else if (i == 9) chart_.ShowHorizontalGrid(v);
      else if (i == 10) chart_.ShowVerticalGrid(v);
      else if (i == 11) chart_.ShowCrossHair(v);
      else if (i == 12) chart_.ShowLockedPoints(v);
      else chart_.ShowSpectrumView(v);
      Changed();
    });
  }
  // The spectrum options: a box that sets its value on the chart.
  auto option = [this](const SceneControl& box, const char* tip, std::function<void(int16_t)> set) {
    auto* b = new QCheckBox(QString::fromStdString(box.Caption), this);
    b->setToolTip(tip);
    connect(b, &QCheckBox::clicked, this, [this, set = std::move(set)](bool on) {
      set(on ? 1 : 0);
      Changed();
    });
    return b;
  };
  check_hann_ = option(chart_.scene.HannBox, "Spectra with a Hann window: less leakage from tones between lines",
                       [this](int16_t v) { chart_.SetHannWindow(v); });
  check_remove_mean_ = option(chart_.scene.RemoveMeanBox,
                              "Each axis's mean taken off first: line 1 no longer holds gravity and offsets",
                              [this](int16_t v) { chart_.SetRemoveMean(v); });
  check_hz_ = option(chart_.scene.HzBox, "Lines, peaks and read-out in Hz from the file's sample interval",
                     [this](int16_t v) { chart_.SetFrequencyInHz(v); });
  all_points_ = new QPushButton(QString::fromStdString(chart_.scene.AllPointsButton.Caption), this);
  previous_ = new QPushButton(QString::fromStdString(chart_.scene.PreviousButton.Caption), this);
  next_ = new QPushButton(QString::fromStdString(chart_.scene.NextButton.Caption), this);
  connect(all_points_, &QPushButton::clicked, this, [this] {
    chart_.ShowAllPoints();
    Changed();
  });
  auto arrow = [this](Qt::ArrowType type, void (Chart::*click)()) {
    auto* b = new QToolButton(this);
    b->setArrowType(type);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, [this, click] {
      (chart_.*click)();
      Changed();
    });
    return b;
  };
  pan_up_ = arrow(Qt::UpArrow, &Chart::PanDown);
  pan_down_ = arrow(Qt::DownArrow, &Chart::PanUp);
  scroll_left_ = arrow(Qt::LeftArrow, &Chart::ExtendWindowLeft);
  scroll_right_ = arrow(Qt::RightArrow, &Chart::ExtendWindowRight);
  for (int i = 1; i <= 24; ++i) {
    caption_[i] = new QLabel(QString::fromStdString(chart_.scene.StatCaption[i].Caption), this);
    text_[i] = new QLineEdit(this);
    text_[i]->setReadOnly(true);
    text_[i]->setFocusPolicy(Qt::NoFocus);
  }
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
}

void FormPicture::LayOutControls() {
  const ChartSceneRecord& s = chart_.scene;
  const QPoint size = ToPixels(s.Width, s.Height);
  setFixedSize(size.x(), size.y());
  auto place = [this](QWidget* w, TwipPoint o, const SceneControl& c) {
    w->setGeometry(PixelRect(o.X, o.Y, c.Left, c.Top, c.Width, c.Height));
  };
  const TwipPoint f4 = chart_.scene.FrameOrigin(s.LeftStrip), f6 = chart_.scene.FrameOrigin(s.RightStrip);
  const TwipPoint f8 = chart_.scene.FrameOrigin(s.ScrollStrip), f9 = chart_.scene.FrameOrigin(s.BottomStrip);
  const TwipPoint f10 = chart_.scene.FrameOrigin(s.StatisticsColumns);
  for (int i = 1; i <= 13; ++i) place(check_[i], f6, s.CheckBox[i]);
  place(check_hann_, f6, s.HannBox);
  place(check_remove_mean_, f6, s.RemoveMeanBox);
  place(check_hz_, f6, s.HzBox);
  place(all_points_, f6, s.AllPointsButton);
  place(next_, f6, s.NextButton);
  place(previous_, f4, s.PreviousButton);
  place(pan_up_, f4, s.PanUpArrow);
  place(pan_down_, f4, s.PanDownArrow);
  place(scroll_left_, f8, s.ScrollLeftArrow);
  place(scroll_right_, f8, s.ScrollRightArrow);
  for (int i = 1; i <= 24; ++i) {
    place(caption_[i], f10, s.StatCaption[i]);
    place(text_[i], f10, s.StatBox[i]);
  }
  place(progress_, f9, s.ProgressBar);
}

void FormPicture::SyncFromScene() {
  const ChartSceneRecord& s = chart_.scene;
  for (int i = 1; i <= 13; ++i) {
    QSignalBlocker block(check_[i]);
    check_[i]->setChecked(s.CheckBox[i].Value == 1);
    check_[i]->setEnabled(s.CheckBox[i].Enabled);
    check_[i]->setVisible(s.CheckBox[i].Visible && s.CheckBox[i].Left >= 0);
  }
  {
    QSignalBlocker block(check_hann_);
    check_hann_->setChecked(s.HannBox.Value == 1);
  }
  for (auto [box, control] : {std::pair{check_remove_mean_, &s.RemoveMeanBox}, std::pair{check_hz_, &s.HzBox}}) {
    QSignalBlocker block(box);
    box->setChecked(control->Value == 1);
    box->setVisible(chart_.SpectrumOptionsShown());
  }
  all_points_->setEnabled(s.AllPointsButton.Enabled);
  previous_->setVisible(s.PreviousButton.Visible);
  next_->setVisible(s.NextButton.Visible);
  for (int i = 1; i <= 24; ++i) {
    const QString t = QString::fromStdString(s.StatBox[i].Caption);
    if (text_[i]->text() != t) {
      text_[i]->setText(t);
      text_[i]->setCursorPosition(0);
    }
  }
  text_[24]->setToolTip(QString::fromStdString(s.FilePath.empty() ? s.StatBox[24].Caption : s.FilePath));
  progress_->setVisible(s.ProgressBar.Visible);
  update();
  emit SceneSynced();
}

void FormPicture::Changed() { SyncFromScene(); }

void FormPicture::ProgressShow(int minimum, int maximum) {
  progress_->setRange(minimum, maximum);
  progress_->setValue(minimum);
  chart_.scene.ProgressBar.Visible = true;
  progress_->show();
}

void FormPicture::ProgressValue(int value) {
  chart_.scene.ProgressBar.Value = static_cast<int16_t>(value);
  progress_->setValue(value);
}

void FormPicture::ProgressHide() {
  chart_.scene.ProgressBar.Visible = false;
  progress_->hide();
}

void FormPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintChartScene(p, chart_.scene, PixelsPerTwip(), chart_.Data().FrequencyView);
  if (timed_paint_) {
    const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - timed_paint_->since;
    const double cpu_ms = 1000.0 * static_cast<double>(std::clock() - timed_paint_->cpu_since) / CLOCKS_PER_SEC;
    std::fprintf(stderr, "accelog: %s drawn %.1f ms after it was chosen (%.1f ms processor time)\n",
                 timed_paint_->what.c_str(), ms.count(), cpu_ms);
    timed_paint_.reset();
  }
}

void FormPicture::TimeNextPaint(const std::string& what, std::chrono::steady_clock::time_point since,
                                std::clock_t cpu_since) {
  timed_paint_ = TimedPaint{what, since, cpu_since};
}

void FormPicture::mouseMoveEvent(QMouseEvent* event) {
  const QPointF t = ToTwips(event->position());
  const bool held = event->buttons() & Qt::LeftButton;
  const ChartArea area = held && press_area_ >= 0 ? static_cast<ChartArea>(press_area_)
                                                  : chart_.scene.HitTest(static_cast<int32_t>(t.x()), static_cast<int32_t>(t.y()));
  switch (area) {
    case ChartArea::Plot: {
      const TwipPoint o = chart_.scene.PlotOrigin();
      chart_.PlotMouseMove(static_cast<float>(t.x() - o.X), static_cast<float>(t.y() - o.Y));
      break;
    }
    case ChartArea::ScrollTrack: {
      const TwipPoint o = chart_.scene.TrackOrigin();
      const bool near = chart_.TrackMouseMove(static_cast<float>(t.x() - o.X));
      setCursor(near ? Qt::SizeHorCursor : Qt::ArrowCursor);
      break;
    }
    case ChartArea::OtherFrame:
      chart_.OtherFrameMouseMove();
      break;
    case ChartArea::StatisticsPanel:
      chart_.OtherFrameMouseMove();
      emit ToolHintCleared();
      break;
    case ChartArea::Background:
      emit ToolHintCleared();
      break;
  }
  if (area != ChartArea::ScrollTrack) unsetCursor();
  update();
}

void FormPicture::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF t = ToTwips(event->position());
  const ChartArea area = chart_.scene.HitTest(static_cast<int32_t>(t.x()), static_cast<int32_t>(t.y()));
  press_area_ = static_cast<int>(area);
  if (area == ChartArea::Plot) {
    const TwipPoint o = chart_.scene.PlotOrigin();
    chart_.PlotMouseDown(static_cast<float>(t.x() - o.X), static_cast<float>(t.y() - o.Y));
  } else if (area == ChartArea::ScrollTrack) {
    chart_.TrackMouseDown(static_cast<float>(t.x() - chart_.scene.TrackOrigin().X));
  }
  update();
}

void FormPicture::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF t = ToTwips(event->position());
  const ChartArea area = static_cast<ChartArea>(press_area_);
  press_area_ = -1;
  if (area == ChartArea::Plot) {
    const TwipPoint o = chart_.scene.PlotOrigin();
    chart_.PlotMouseUp(static_cast<float>(t.x() - o.X), static_cast<float>(t.y() - o.Y));
  } else if (area == ChartArea::ScrollTrack) {
    chart_.TrackMouseUp(static_cast<float>(t.x() - chart_.scene.TrackOrigin().X));
  }
  SyncFromScene();
}

void FormPicture::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF t = ToTwips(event->position());
  const ChartArea area = chart_.scene.HitTest(static_cast<int32_t>(t.x()), static_cast<int32_t>(t.y()));
  // The release that follows still ends the press: on the plot it only
  // collapses the rectangle; on the track the double click is no drag.
  press_area_ = static_cast<int>(area);
  if (area == ChartArea::Plot) {
    chart_.PlotDoubleClick();
  } else if (area == ChartArea::ScrollTrack) {
    chart_.TrackDoubleClick();
    chart_.state.ScrollDragging = false;
  }
  SyncFromScene();
}

// The cross-hair follows the pointer: leaving the window hides it as leaving
// the plot for another frame does.
void FormPicture::leaveEvent(QEvent* event) {
  if (press_area_ < 0) {
    chart_.OtherFrameMouseMove();
    update();
  }
  QWidget::leaveEvent(event);
}

}  // namespace accelog
