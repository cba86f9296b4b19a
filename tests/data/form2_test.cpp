// The data list window: buttons, keys, the go-to box and the main window's wheel.
#include "data/list/form2.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include "shell/main_window.h"
#include "shell/shell_rules.h"
#include "support/export_points.h"

namespace accelog {
namespace {

void Wheel(QWidget* w, int delta) {
  QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

TEST(Form2Test, PagesWithButtonsKeysAndTheWheel) {
  ResetShellState();
  testing::LoadPoints(std::vector<testing::Point>(30, {1, 2, 3, 4}));
  MainWindow main(nullptr);
  Wheel(main.ClientArea(), -120);  // nothing to page yet

  Form2* list = File012_Click(&main);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Data.MenuCommandCode, 16);
  EXPECT_TRUE(Shell.DataListOpen);
  EXPECT_EQ(File012_Click(&main), nullptr);  // one list at a time
  auto top = [&] { return list->Cell(0, 0) + ".." + list->Cell(24, 0); };
  EXPECT_EQ(top(), "1..25");

  list->Button(3)->click();
  EXPECT_EQ(top(), "6..30");
  QApplication::setActiveWindow(list);
  QTest::keyClick(list, Qt::Key_PageUp);
  EXPECT_EQ(top(), "1..25");
  QTest::keyClick(list->Text1(), Qt::Key_PageDown);
  EXPECT_EQ(top(), "6..30");
  Wheel(main.ClientArea(), 120);
  EXPECT_EQ(top(), "5..29");
  Wheel(main.ClientArea(), -120);
  Wheel(list, -120);
  EXPECT_EQ(top(), "7..");  // 31 is beyond the points

  for (const char* typed : {"0", "-3", "x"}) {
    list->Text1()->setText(typed);
    list->Button(4)->click();
    EXPECT_EQ(list->Text1()->text(), "1") << typed;
    EXPECT_EQ(top(), "1..25") << typed;
  }

  list->Button(1)->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(DataListWindow(), nullptr);
  EXPECT_FALSE(Shell.DataListOpen);
  EXPECT_EQ(Data.MenuCommandCode, 0);
}

}  // namespace
}  // namespace accelog
