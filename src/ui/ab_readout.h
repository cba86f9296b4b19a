#pragma once
// The A/B read-out: for cursor A and cursor B the point, its date and time
// and X, Y, Z, V; below them B - A in points, seconds, X, Y, Z, V and 1/dt.
#include <QWidget>
#include <array>

class QLabel;

namespace accelog {

struct AbReadOut;

class AbReadOutWindow : public QWidget {
  Q_OBJECT
 public:
  explicit AbReadOutWindow(QWidget* owner);
  void Show(const AbReadOut& r);
  // The text of row 0 (A), 1 (B) or 2 (B - A), column 0.. (tests).
  QString Cell(int row, int column) const;

 private:
  static constexpr int kColumns = 8;
  std::array<std::array<QLabel*, kColumns>, 3> cells_{};
};

}  // namespace accelog
