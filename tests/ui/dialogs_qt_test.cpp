// The two Qt windows: what they show, that clicks and keys reach the form,
// Enter and Escape, and that no caption is clipped at the scale the test
// runs with (ctest runs this binary at 1x and 2x). Then "System Parameter"
// end to end, against the in-process simulated logger.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/device_menu.h"
#include "app/keypad_script.h"
#include "core/virtual_clock.h"
#include "device/device.h"
#include "device/transport.h"
#include "model/dataset.h"
#include "model/machine_parameter.h"
#include "sim/recording.h"
#include "sim/simulator.h"
#include "ui/keypad_dialog_qt.h"
#include "ui/parameter_dialog_qt.h"
#include "ui/qt_ui.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

template <class W>
W* Child(QWidget* parent, const char* name) {
  auto* w = parent->findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Every visible caption gets at least the room it asks for.
void ExpectNothingClipped(QWidget* dialog) {
  for (QWidget* w : dialog->findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    const std::string name = w->objectName().toStdString();
    if (qobject_cast<QAbstractButton*>(w)) {
      EXPECT_GE(w->width(), w->sizeHint().width()) << name;
      EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name;
    } else if (qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w)) {
      EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
    }
  }
}

// The dialogs judge the start against the clock: every test runs at 14:35:20.
ClockReading FixedClock() { return {2026, 5, 14, 14, 35, 20}; }

class DialogsQtTest : public testing::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ApplyDefaults(p_);
    p_.LanguageFlag = 1;
  }
  testing::FakePorts ports_;
  ParameterStore store_{folder_.path()};
  RecordingParameters& p_ = store_.Values();
};

TEST_F(DialogsQtTest, FullLayoutShowsTheFormInEnglishOrChinese) {
  p_.RecordInterval = 750;
  p_.IntervalUnit = 1;
  ParameterDialogQt d(store_, ports_.keypad, ports_.ui, FixedClock);
  d.show();
  EXPECT_EQ(Child<QLineEdit>(&d, "Text2")->text(), "750");
  EXPECT_TRUE(Child<QRadioButton>(&d, "Option2")->isChecked());
  EXPECT_FALSE(Child<QLineEdit>(&d, "Text4")->isEnabled());  // normal record mode
  ExpectNothingClipped(&d);

  p_.LanguageFlag = 0;
  ParameterDialogQt zh(store_, ports_.keypad, ports_.ui, FixedClock);
  zh.show();
  EXPECT_EQ(Child<QPushButton>(&zh, "OKButton")->text() + Child<QRadioButton>(&zh, "Option9")->text(), "确认定时");
  ExpectNothingClipped(&zh);
}

TEST_F(DialogsQtTest, RealTimeLayoutClosesUpIntervalLimitAndButtons) {
  p_.ParameterDialogMode = 1;
  ParameterDialogQt d(store_, ports_.keypad, ports_.ui, FixedClock);
  d.show();
  for (const char* hidden : {"Frame0", "Frame7", "Option3"}) {
    EXPECT_FALSE(Child<QWidget>(&d, hidden)->isVisible()) << hidden;
  }
  auto* frame1 = Child<QGroupBox>(&d, "Frame1");
  auto* frame8 = Child<QGroupBox>(&d, "Frame8");
  EXPECT_LT(frame1->geometry().bottom(), frame8->geometry().top());
  EXPECT_LT(frame8->geometry().bottom(), Child<QPushButton>(&d, "OKButton")->geometry().top());
  EXPECT_LT(frame1->geometry().top(), 2 * frame1->height());  // at the top, not left in place
  QTest::mouseClick(Child<QRadioButton>(&d, "Option10"), Qt::LeftButton);
  EXPECT_EQ(Child<QLabel>(&d, "Label18")->text(), "Limit Time(Unite:Minute)");
  ExpectNothingClipped(&d);
}

TEST_F(DialogsQtTest, ClicksAndSpaceOpenTheKeypadOnEnabledBoxesOnly) {
  p_.WorkMode = 2;
  ParameterDialogQt d(store_, ports_.keypad, ports_.ui, FixedClock);
  d.show();
  ports_.keypad.Enter("21");
  QTest::mouseClick(Child<QLineEdit>(&d, "Text16"), Qt::LeftButton);
  ASSERT_EQ(ports_.keypad.shown.size(), 1u);
  EXPECT_EQ(ports_.keypad.shown[0].Caption, "Hour");
  EXPECT_EQ(Child<QLineEdit>(&d, "Text16")->text(), "21");

  auto* text5 = Child<QLineEdit>(&d, "Text5");
  QTest::mouseClick(text5, Qt::LeftButton);
  EXPECT_EQ(ports_.keypad.shown.size(), 1u);
  QTest::mouseClick(Child<QRadioButton>(&d, "Option6"), Qt::LeftButton);
  ports_.keypad.Enter("9");
  text5->setFocus();
  QTest::keyClick(text5, Qt::Key_Space);
  EXPECT_EQ(text5->text(), "9");
}
TEST_F(DialogsQtTest, EnterIsOkEscapeIsCancelAndTheClockStopsWithTheWindow) {
  ParameterDialogQt accepted(store_, ports_.keypad, ports_.ui, FixedClock);
  accepted.show();
  auto* text2 = Child<QLineEdit>(&accepted, "Text2");
  text2->setFocus();
  QTest::keyClick(text2, Qt::Key_Return);  // OK, not the keypad
  EXPECT_TRUE(ports_.keypad.shown.empty());
  EXPECT_EQ(accepted.result(), QDialog::Accepted);
  EXPECT_TRUE(p_.ParameterAccepted);

  p_.ParameterAccepted = false;
  ParameterDialogQt d(store_, ports_.keypad, ports_.ui, FixedClock);
  d.show();
  auto* text1 = Child<QLineEdit>(&d, "Text1");
  text1->setFocus();
  text1->selectAll();
  QTest::keyClicks(text1, "77");
  QTest::keyClick(text1, Qt::Key_Enter);
  EXPECT_THAT(ports_.ui.messages, ::testing::ElementsAre("Port is erro!", "Data is erro!!=1"));
  EXPECT_TRUE(d.isVisible());  // stays open for correcting
  auto* second = Child<QLineEdit>(&d, "Text12");
  second->setText("x");
  auto* timer = d.findChild<QTimer*>("Timer1");
  ASSERT_TRUE(timer && timer->isActive());
  QMetaObject::invokeMethod(timer, "timeout");  // a tick, without waiting a second for it
  EXPECT_NE(second->text(), "x");  // the clock ticks while open
  QTest::keyClick(text1, Qt::Key_Escape);
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_FALSE(p_.ParameterAccepted);
  EXPECT_FALSE(timer->isActive());
}

using KeypadQtTest = DialogsQtTest;

TEST_F(KeypadQtTest, KeysOkMessagesEscapeAndChineseCaptions) {
  KeypadForm form = NewKeypadForm();
  form.Entry = "15", form.Maximum = "23", form.Minimum = "0", form.Decimals = "0", form.Caption = "Hour";
  KeypadDialogQt k(form, 1, ports_.ui);
  k.show();
  EXPECT_EQ(k.windowTitle(), "Hour");
  auto* text1 = Child<QLineEdit>(&k, "Text1");
  // The keys append: the entry shows no selection they would seem to replace.
  EXPECT_FALSE(text1->hasSelectedText());
  QTest::mouseClick(Child<QPushButton>(&k, "Command13"), Qt::LeftButton);
  for (const char* key : {"Command2", "Command10", "Command12", "Command5"}) {
    QTest::mouseClick(Child<QPushButton>(&k, key), Qt::LeftButton);
  }
  EXPECT_EQ(text1->text(), "20.5");
  EXPECT_EQ(k.focusWidget(), text1);  // the keys leave the focus in the entry

  QTest::keyClick(text1, Qt::Key_Return);
  EXPECT_EQ(ports_.ui.messages, std::vector<std::string>{"Decimal digits too much  = 1"});
  EXPECT_TRUE(k.isVisible());
  text1->selectAll();
  QTest::keyClicks(text1, "7");
  QTest::mouseClick(Child<QPushButton>(&k, "OKButton"), Qt::LeftButton);
  EXPECT_EQ(k.result(), QDialog::Accepted);
  EXPECT_EQ(form.Value, 7);

  KeypadForm zh_form = NewKeypadForm();
  KeypadDialogQt zh(zh_form, 0, ports_.ui);
  zh.show();
  EXPECT_EQ(Child<QGroupBox>(&zh, "Frame2")->title(), "小键盘");
  ExpectNothingClipped(&zh);
  QTest::keyClick(Child<QLineEdit>(&zh, "Text1"), Qt::Key_Escape);
  EXPECT_EQ(zh.result(), QDialog::Rejected);
  EXPECT_FALSE(zh_form.Value);
}


// The main window's message port with the message boxes and panels recorded
// instead of shown; the parameter dialog is the real, modal one, against a
// simulated logger that is connected.
class SystemParameterTest : public DialogsQtTest {
 protected:
  class WindowUi : public QtUi {
   public:
    WindowUi() : QtUi(nullptr) {}
    void MessageWith(const std::string& text, MessageIcon, const std::string&, const std::string&) override {
      messages.push_back(text);
    }
    void StatusPanel(int panel, const std::string& text) override { panels[panel] = text; }
    std::vector<std::string> messages;
    std::map<int, std::string> panels;
  };
  void SetUp() override {
    DialogsQtTest::SetUp();
    ui_.UseParameterStore(&store_, FixedClock);  // with the real keypad window
    std::string error;
    ASSERT_TRUE(sim_.Start(folder_.File("logger.sock"), &error)) << error;
    device_ = std::make_unique<Device>(MakeTransport("sim:" + folder_.File("logger.sock")),
                                       SteadyDeviceClock([this] { return clock_.MakeTimer(); }), ui_, data_, p_);
    device_->StartScan();
    ASSERT_TRUE(clock_.RunUntil([this] { return device_->Connected(); }, 10000));
  }

  VirtualClock clock_;
  WindowUi ui_;
  Dataset data_;
  sim::Simulator sim_{sim::MakeRecording(5, 3)};
  std::unique_ptr<Device> device_;  // goes before the simulator
};

void Click(QWidget* window, const char* name) {
  auto* w = Child<QWidget>(window, name);
  ASSERT_TRUE(w && w->isEnabled()) << name;
  QTest::mouseClick(w, Qt::LeftButton);
}

// Each window acts from a timer once it is up, since clicks that open a
// modal window return only when it closes.
QWidget* ModalWindow(const char* name) {
  QWidget* w = QApplication::activeModalWidget();
  EXPECT_TRUE(w && w->objectName() == QString::fromLatin1(name)) << name;
  return w && w->objectName() == QString::fromLatin1(name) ? w : nullptr;
}

TEST_F(SystemParameterTest, KeypadEditsReachTheLogger) {
  // Never hang on a window the steps did not expect.
  QTimer::singleShot(20000, [] {
    while (QWidget* w = QApplication::activeModalWidget()) w->close();
  });
  QTimer::singleShot(0, [] {
    QWidget* d = ModalWindow("SetMachineParameter");
    if (!d) return;
    Click(d, "Option6");  // critical values
    QTimer::singleShot(0, [] {
      QWidget* k = ModalWindow("DialogInput");
      if (!k) return;
      for (const char* key : {"Command13", "Command9", "OKButton"}) Click(k, key);
    });
    Click(d, "Text5");
    Click(d, "OKButton");
  });
  SendSystemParameters(*device_);
  EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front();
  ASSERT_TRUE(clock_.RunUntil([this] { return device_->command.Awaited == CommandCode::None; }, 5000));
  EXPECT_EQ(ui_.panels[2], "Send parameter ok");

  // The logger took the frame (it checks the sum): the defaults with
  // critical 16/9/16 by record, the fixed clock and the next full hour.
  ASSERT_TRUE(sim_.ParametersSet());
  EXPECT_EQ(sim_.Parameters(), (std::array<uint8_t, 23>{0x01, 0xF4, 0, 0, 16, 9, 16, 1, 0, 26, 5, 14, 14, 35, 20, 26,
                                                        5, 14, 15, 0, 0, 0x00, 0x64}));
}

}  // namespace
}  // namespace accelog
