#pragma once
// FormTool: the tool-bar window with its eleven buttons and the hint label.
#include <QWidget>
#include <array>

class QLabel;
class QToolButton;

namespace accelog {

class ToolBarWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ToolBarWindow(QWidget* parent = nullptr);
  QToolButton* Button(int index) const { return buttons_[static_cast<size_t>(index)]; }
  QLabel* HintLabel() const { return label1_; }
  // MenuCommandCodeEnabledButton_nn's part on the buttons.
  void ApplyEnabling(int code, bool enabled);

 signals:
  void ButtonClicked(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  std::array<QToolButton*, 11> buttons_{};
  QLabel* label1_ = nullptr;
  QWidget* frame1_ = nullptr;
};

}  // namespace accelog
