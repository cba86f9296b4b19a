// "System Parameter" end to end: the menu handler opens the real parameter
// window modally through the Qt message port, a field is edited through the
// real keypad window, and OK sends the parameters to the in-process
// simulated logger.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "core/virtual_clock.h"
#include "model/conversion.h"
#include "model/dataset.h"
#include "app/device_menu.h"
#include "device/device.h"
#include "device/transport.h"
#include "app/keypad.h"
#include "model/machine_parameter.h"
#include "app/parameter_dialog.h"
#include "ui/qt_ui.h"
#include "sim/recording.h"
#include "sim/simulator.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

ClockReading FixedClock() { return {2026, 5, 14, 14, 35, 20}; }

// The main window's message port with the message boxes and panels recorded
// instead of shown; the parameter dialog is the real, modal one.
class WindowUi : public QtUi {
 public:
  WindowUi() : QtUi(nullptr) {}
  void Message(const std::string& text, MessageIcon) override { messages.push_back(text); }
  void MessageWith(const std::string& text, MessageIcon, const std::string&, const std::string&) override {
    messages.push_back(text);
  }
  void StatusPanel(int panel, const std::string& text) override { panels[panel] = text; }
  std::vector<std::string> messages;
  std::map<int, std::string> panels;
};

void Click(QWidget* window, const QString& name) {
  auto* w = window->findChild<QWidget*>(name);
  ASSERT_NE(w, nullptr) << name.toStdString();
  ASSERT_TRUE(w->isEnabled()) << name.toStdString();
  QTest::mouseClick(w, Qt::LeftButton);
}

class SystemParameterTest : public testing::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ApplyDefaults(store_.Values());
    store_.Values().LanguageFlag = 1;
    ui_.UseParameterStore(&store_, FixedClock);  // with the real keypad window

    sim_ = std::make_unique<sim::Simulator>(sim::MakeRecording(5, 3));
    std::string error;
    ASSERT_TRUE(sim_->Start(folder_.File("logger.sock"), &error)) << error;
    device_ = std::make_unique<Device>(MakeTransport("sim:" + folder_.File("logger.sock")),
                                       SteadyDeviceClock([this] { return clock_.MakeTimer(); }), ui_, data_,
                                       store_.Values());
    device_->StartScan();
    ASSERT_TRUE(clock_.RunUntil([this] { return device_->Connected(); }, 10000));
  }
  void TearDown() override {
    device_.reset();
    if (sim_) sim_->Stop();
  }

  VirtualClock clock_;
  ParameterStore store_{folder_.path()};  // the record the dialog edits and the device sends
  WindowUi ui_;
  Dataset data_;
  std::unique_ptr<Device> device_;
  std::unique_ptr<sim::Simulator> sim_;
};

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
  ASSERT_TRUE(sim_->ParametersSet());
  EXPECT_EQ(sim_->Parameters(), (std::array<uint8_t, 23>{0x01, 0xF4, 0, 0, 16, 9, 16, 1, 0, 26, 5, 14, 14, 35, 20, 26,
                                                         5, 14, 15, 0, 0, 0x00, 0x64}));
}

}  // namespace
}  // namespace accelog
