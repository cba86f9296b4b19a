// "System Parameter" end to end: the menu handler opens the real parameter
// window modally through the Qt message port, the fields are edited through
// the real keypad window, OK sends the parameters to the in-process
// simulated logger, and the frame on the wire and the stored file are exact.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "core/virtual_clock.h"
#include "data/conversion.h"
#include "data/state.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/link.h"
#include "device/transport.h"
#include "params/keypad.h"
#include "params/machine_parameter.h"
#include "params/parameter_dialog.h"
#include "shell/qt_ui.h"
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

// Acts on modal windows as they come up: each step names the window it
// expects and what to do there. The next look is scheduled before a step
// acts, because a click may open a nested modal window and not return until
// that one closes.
class ModalScript {
 public:
  using Action = std::function<void(QWidget*)>;
  void Add(const char* window, Action action) { steps_.push_back({window, std::move(action)}); }
  void Start() { QTimer::singleShot(0, [this] { Look(); }); }
  bool Finished() const { return steps_.empty(); }
  std::string Waiting() const { return steps_.empty() ? "" : steps_.front().first; }

 private:
  void Look() {
    if (steps_.empty()) return;
    QWidget* modal = QApplication::activeModalWidget();
    QTimer::singleShot(20, [this] { Look(); });
    if (!modal || modal->objectName() != QString::fromLatin1(steps_.front().first)) return;
    Action action = std::move(steps_.front().second);
    steps_.pop_front();
    action(modal);
  }
  std::deque<std::pair<const char*, Action>> steps_;
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
    ResetDataState();
    ResetConversionState();
    ApplyDefaultParameters();
    MachineParameter.LanguageFlag = 1;
    SetClockSource(FixedClock);
    SetKeypadPort(nullptr);  // the dialog installs the real keypad window
    clock_.Install();
    SetUi(&ui_);
    ResetDeviceEngines();

    sim_ = std::make_unique<sim::Simulator>(sim::MakeRecording(5, 3));
    std::string error;
    ASSERT_TRUE(sim_->Start(folder_.File("logger.sock"), &error)) << error;
    SetDeviceTransport(MakeTransport("sim:" + folder_.File("logger.sock")));
    usbDeviceDetect();
    ASSERT_TRUE(clock_.RunUntil([] { return Link.LinkConfirmed && Command.CommandCode == 0; }, 10000));
  }
  void TearDown() override {
    ResetDeviceEngines();
    DestroyDeviceTimers();
    SetDeviceTransport(nullptr);
    SetTimerFactory(nullptr);
    SetUi(nullptr);
    SetClockSource(nullptr);
    if (sim_) sim_->Stop();
  }

  // A keypad step: clear the entry, press the digits, OK.
  void Keypad(const std::string& digits) {
    script_.Add("DialogInput", [digits](QWidget* k) {
      Click(k, "Command13");
      for (char d : digits) Click(k, QStringLiteral("Command%1").arg(d == '0' ? 10 : d - '0'));
      EXPECT_EQ(k->findChild<QLineEdit*>("Text1")->text().toStdString(), digits);
      Click(k, "OKButton");
    });
  }

  VirtualClock clock_;
  WindowUi ui_;
  std::unique_ptr<sim::Simulator> sim_;
  ModalScript script_;
};

TEST_F(SystemParameterTest, KeypadEditsReachTheLogger) {
  script_.Add("SetMachineParameter", [](QWidget* d) {
    EXPECT_TRUE(d->findChild<QWidget*>("Frame0")->isVisible());  // the full layout
    Click(d, "Option9");  // timing: start and limit take clicks
    Click(d, "Text2");
  });
  Keypad("250");
  script_.Add("SetMachineParameter", [](QWidget* d) {
    Click(d, "Option6");  // critical values
    Click(d, "Text5");
  });
  Keypad("9");
  script_.Add("SetMachineParameter", [](QWidget* d) { Click(d, "Text19"); });
  Keypad("1200");
  script_.Add("SetMachineParameter", [](QWidget* d) { Click(d, "OKButton"); });
  // Never hang on a window the script did not expect.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    while (QWidget* w = QApplication::activeModalWidget()) w->close();
  });
  watchdog.start(20000);
  script_.Start();

  File002_Click();
  ASSERT_TRUE(script_.Finished()) << "still waiting for " << script_.Waiting();
  EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front();
  ASSERT_TRUE(clock_.RunUntil([] { return Command.CommandCode == 0; }, 5000));
  EXPECT_EQ(ui_.panels[2], "Send parameter ok");

  // The logger took the frame (it checks the sum): interval 250 ms,
  // critical 16/9/16 by record, timing, the fixed clock, start 15:00:00
  // today, limit 1200. The stored records are checked by the CLI test.
  ASSERT_TRUE(sim_->ParametersSet());
  EXPECT_EQ(sim_->Parameters(), (std::array<uint8_t, 23>{0x00, 0xFA, 0, 0, 16, 9, 16, 1, 2, 26, 5, 14, 14, 35, 20, 26,
                                                         5, 14, 15, 0, 0, 0x04, 0xB0}));
  EXPECT_FALSE(MachineParameter.ParameterAccepted);  // cleared after the send
}

}  // namespace
}  // namespace accelog
