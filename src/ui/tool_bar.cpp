#include "ui/tool_bar.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

#include "ui/icons.h"
#include "app/shell_rules.h"
#include "ui/twips.h"

namespace accelog {

namespace {
constexpr int kFrameWidth = 10000;  // twips, centred in the window
constexpr int kButtonSize = 560;
constexpr int kButtonGap = 340;
}  // namespace

ToolBarWindow::ToolBarWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("FormTool");
  setFixedSize(TwipsToPixels(kToolBarWidth), TwipsToPixels(kToolBarHeight));
  setMouseTracking(true);
  UseChartBackColor(this);

  frame1_ = new QWidget(this);
  frame1_->setObjectName("Frame1");
  frame1_->setMouseTracking(true);
  const int frame_left = (kToolBarWidth - kFrameWidth) / 2;
  frame1_->setGeometry(TwipsToPixels(frame_left), 0, TwipsToPixels(kFrameWidth), height());

  const int size = TwipsToPixels(kButtonSize);
  for (int i = 0; i < kToolButtons; ++i) {
    auto* b = new QToolButton(frame1_);
    b->setObjectName(QString("Command%1").arg(i + 1));
    b->setIcon(ToolIcon(i));
    b->setIconSize(QSize(size - 10, size - 10));
    b->setAutoRaise(true);
    b->setAccessibleName(ToolButtonHint(i));
    b->setGeometry(TwipsToPixels(60 + i * (kButtonSize + kButtonGap)), TwipsToPixels(20), size, size);
    b->installEventFilter(this);
    connect(b, &QToolButton::clicked, this, [this, i] {
      label1_->clear();
      emit ButtonClicked(i);
    });
    buttons_[static_cast<size_t>(i)] = b;
  }

  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  QFont f = label1_->font();
  f.setPointSizeF(8);
  label1_->setFont(f);
  label1_->setGeometry(0, TwipsToPixels(kButtonSize + 30), TwipsToPixels(3000),
                       height() - TwipsToPixels(kButtonSize + 30));
  label1_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool ToolBarWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter) {
    for (int i = 0; i < kToolButtons; ++i) {
      QToolButton* b = buttons_[static_cast<size_t>(i)];
      if (watched != b) continue;
      label1_->setText(ToolButtonHint(i));
      label1_->adjustSize();
      // The hint's left edge: the button's left + 50 twips.
      const int left = frame1_->x() + b->x() + TwipsToPixels(50);
      label1_->move(std::min(left, width() - label1_->width()), label1_->y());
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ToolBarWindow::mouseMoveEvent(QMouseEvent* event) {
  label1_->clear();  // over the background
  QWidget::mouseMoveEvent(event);
}

void ToolBarWindow::ApplyEnabling(int code, bool enabled) {
  const EnabledSet s = MenuCommandCodeEnabledButton(code, enabled);
  for (int i = 0; i < kToolButtons; ++i) {
    if (s.button_touched[static_cast<size_t>(i)]) buttons_[static_cast<size_t>(i)]->setEnabled(s.enabled);
  }
}

// A hint belongs to the pointer: it goes when the pointer leaves the bar.
void ToolBarWindow::leaveEvent(QEvent* event) {
  label1_->clear();
  QWidget::leaveEvent(event);
}

}  // namespace accelog
