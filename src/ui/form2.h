#pragma once
// Form2, the data list: a modeless window paging through the non-zero points
// 25 rows at a time, with buttons, a go-to box, Page Up / Page Down and the
// wheel.
#include <QWidget>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace accelog {

class Dataset;
class UiPort;

class Form2 : public QWidget {
  Q_OBJECT
 public:
  // Loading: MenuCommandCode 16 (the data list), TopPoint 1 and the first page.
  Form2(QWidget* owner, Dataset& data);
  ~Form2() override;

  void DispData(int32_t top);
  void Command1_Click();  // "Exit"
  void Command2_Click();  // "Previous " and Page Up
  void Command3_Click();  // "Next" and Page Down
  void Command4_Click();  // "Move" to the point in the go-to box
  void Command5_Click();  // one row back
  void Command6_Click();  // one row forward

  int32_t TopPoint() const { return top_; }
  bool IsOpen() const { return loaded_; }
  // The wheel: a negative delta one row forward, any other one row back.
  void PageByWheel(int delta);
  QString Cell(int row, int column) const;  // row 0..24, column 0..8
  QLineEdit* Text1() const { return text1_; }
  QPushButton* Button(int n) const;         // Command1..Command4
  QToolButton* RowButton(int n) const;      // Command5, Command6

 protected:
  void closeEvent(QCloseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  Dataset& data_;
  void Unload();

  int32_t top_ = 1;
  int32_t count_ = 0;
  bool loaded_ = false;
  QLabel* label_[9][25] = {};
  QLineEdit* text1_ = nullptr;
  QPushButton* command_[4] = {};
  QToolButton* command5_ = nullptr;
  QToolButton* command6_ = nullptr;
};

// "Data List": opens the list when a file is shown and nothing else runs;
// the window, or null when it did nothing.
Form2* OpenDataListWindow(QWidget* owner, Dataset& data, UiPort& ui);

}  // namespace accelog
