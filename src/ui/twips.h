#pragma once
// Twips (1/1440 inch) to device-independent pixels at the screen's logical DPI.
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QWidget>
#include <cmath>

#include "app/shell_rules.h"

namespace accelog {

inline double LogicalDpi() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->logicalDotsPerInch() : 96.0;
}
inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips * LogicalDpi() / 1440.0)); }
inline int PixelsToTwips(double pixels) { return static_cast<int>(std::lround(pixels * 1440.0 / LogicalDpi())); }

// ChartBackColor (stored blue-green-red) as a widget's filled background.
inline void UseChartBackColor(QWidget* w) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window,
               QColor(kChartBackColor & 0xFF, (kChartBackColor >> 8) & 0xFF, (kChartBackColor >> 16) & 0xFF));
  w->setPalette(pal);
}

// A push button filled with ChartBackColor (a styled button ignores the palette).
inline void UseChartBackColorButton(QWidget* b) {
  const QColor c(kChartBackColor & 0xFF, (kChartBackColor >> 8) & 0xFF, (kChartBackColor >> 16) & 0xFF);
  b->setStyleSheet(QString("QPushButton { background: %1; border: 1px solid rgb(128,128,128);"
                           " border-radius: 2px; padding: 3px 12px; }"
                           "QPushButton:pressed { background: rgb(200,200,190); }")
                       .arg(c.name()));
}

// Escape and Ctrl+W close a window of its own: without a window manager
// there is no other way to close it.
inline void CloseOnEscapeAndCtrlW(QWidget* window) {
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
  }
}

}  // namespace accelog
