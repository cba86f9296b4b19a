// The data list window: buttons, keys, the go-to box and the main window's wheel.
#include "ui/form2.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "ui/main_window.h"
#include "app/shell_rules.h"
#include "support/export_points.h"

namespace accelog {
namespace {

void Wheel(QWidget* w, int delta) {
  QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

TEST(Form2Test, PagesWithButtonsKeysAndTheWheel) {
  Dataset data_;
  std::vector<testing::Point> points(30, {1, 2, 3});
  points[0].x = -3;  // -11.7 mg
  testing::LoadPoints(data_, points);
  MainWindow main(nullptr, data_);
  Wheel(main.ClientArea(), -120);  // nothing to page yet

  Form2* list = main.OpenDataList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::DataList);
  EXPECT_EQ(main.DataList(), list);
  EXPECT_EQ(OpenDataListWindow(&main, data_, main.Port()), nullptr);  // one list at a time
  auto top = [&] { return list->Cell(0, 0) + ".." + list->Cell(24, 0); };
  EXPECT_EQ(top(), "1..25");
  EXPECT_EQ(list->Cell(0, 2), "-11.7");  // the decimal, unlike the export

  list->Button(3)->click();
  EXPECT_EQ(top(), "6..30");
  QApplication::setActiveWindow(list);
  QTest::keyClick(list, Qt::Key_PageUp);
  EXPECT_EQ(top(), "1..25");
  QTest::keyClick(list->Text1(), Qt::Key_PageDown);
  Wheel(main.ClientArea(), 120);
  EXPECT_EQ(top(), "5..29");
  Wheel(main.ClientArea(), -120);
  Wheel(list, -120);
  EXPECT_EQ(top(), "7..");  // 31 is beyond the points

  for (int i = 0; i < 30; ++i) list->RowButton(6)->click();
  EXPECT_EQ(top(), "25..");  // forward stops with the last point in row 6

  // Typed, then the rows shown and the box afterwards.
  const char* const moves[][2] = {{"-3", "1..25 1"}, {"x", "1..25 1"}, {"12.7", "12.. 12"}, {"99", "6..30 6"}};
  for (const auto& [typed, shown] : moves) {
    list->Text1()->setText(typed);
    list->Button(4)->click();
    EXPECT_EQ(top() + " " + list->Text1()->text(), shown) << typed;
  }
  list->Button(1)->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main.DataList(), nullptr);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);

  testing::LoadPoints(data_, std::vector<testing::Point>(10, {1, 2, 3}));
  list = main.OpenDataList();
  list->Text1()->setText("7");
  list->Button(4)->click();  // ten points: the box is only emptied
  EXPECT_EQ(top() + "|" + list->Text1()->text(), "1..|");
  // Escape closes it where no window manager gives it a close box.
  QApplication::setActiveWindow(list);
  QTest::keyClick(list, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main.DataList(), nullptr);
}

}  // namespace
}  // namespace accelog
