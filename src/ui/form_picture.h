#pragma once
// FormPicture: the chart window as a widget. It paints the chart scene, holds
// the real controls (check boxes, buttons, pan and arrow pictures, the
// statistics boxes, the progress bar) at their twip positions, and turns
// mouse events into the chart's mouse rules. A plain QWidget, so the main
// window can place it below its tool bar.
#include <QWidget>
#include <chrono>
#include <ctime>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace accelog {

class Chart;

class FormPicture : public QWidget {
  Q_OBJECT

 public:
  // The widget shows and drives `chart`, which outlives it.
  explicit FormPicture(Chart& chart, QWidget* parent = nullptr);

  Chart& Model() const { return chart_; }

  // Controls follow the scene (check values, enabling, texts); then repaint.
  void SyncFromScene();

  // The next paint logs on stderr how long after `since` it ended, and the
  // processor time used since `cpu_since` (std::clock). The program asks
  // for it when ACCELOG_TIMING is set, for an opened file.
  void TimeNextPaint(const std::string& what, std::chrono::steady_clock::time_point since,
                     std::clock_t cpu_since);

  // ProgressBar1, for the message port of the main window.
  void ProgressShow(int minimum, int maximum);
  void ProgressValue(int value);
  void ProgressHide();

  // 1 twip = 1/1440 inch at the logical DPI, times the window's zoom.
  double PixelsPerTwip() const;
  // Fit to Window: the whole window, controls and fonts, drawn `zoom` times
  // its size (1 is the normal layout).
  void SetZoom(double zoom);
  double Zoom() const { return zoom_; }
  // The window's size in pixels at zoom 1.
  QSize NormalSize() const;
  QPoint ToPixels(int32_t x_twips, int32_t y_twips) const;
  QPointF ToTwips(const QPointF& pixels) const;

  QCheckBox* CheckBox(int i) const { return check_[i]; }
  QCheckBox* CheckHann() const { return check_hann_; }
  QCheckBox* CheckRemoveMean() const { return check_remove_mean_; }
  QCheckBox* CheckFrequencyInHz() const { return check_hz_; }
  QPushButton* AllPointsButton() const { return all_points_; }
  QLineEdit* StatBox(int i) const { return text_[i]; }

 signals:
  // The pointer moved over the window background or the statistics panel:
  // the tool bar's hint label is emptied.
  void ToolHintCleared();
  // SyncFromScene ran: what follows the chart (cursors, panels) looks again.
  void SceneSynced();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QRect PixelRect(int32_t origin_x, int32_t origin_y, int32_t left, int32_t top, int32_t width,
                  int32_t height) const;
  void CreateControls();
  void LayOutControls();
  void Changed();

  QCheckBox* check_[14] = {};
  QCheckBox* check_hann_ = nullptr;
  QCheckBox* check_remove_mean_ = nullptr;
  QCheckBox* check_hz_ = nullptr;
  QPushButton* all_points_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QToolButton* pan_up_ = nullptr;
  QToolButton* pan_down_ = nullptr;
  QToolButton* scroll_left_ = nullptr;
  QToolButton* scroll_right_ = nullptr;
  QLabel* caption_[25] = {};
  QLineEdit* text_[25] = {};
  QProgressBar* progress_ = nullptr;
  void ApplyFonts();

  Chart& chart_;
  int press_area_ = -1;  // ChartArea of the button press, -1 none
  struct TimedPaint {
    std::string what;
    std::chrono::steady_clock::time_point since;
    std::clock_t cpu_since;
  };
  std::optional<TimedPaint> timed_paint_;
  double zoom_ = 1.0;
};

}  // namespace accelog
