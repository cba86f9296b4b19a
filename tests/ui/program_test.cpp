// The whole program offscreen: start-up against the embedded simulated
// logger, the connect sequence, Download data_, Acceleration, lost devices and
// a second instance. Dialogs answer from a script; timers are real.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app/chart_scene.h"
#include "device/device.h"
#include "sim/simulator.h"
#include "ui/form_picture.h"
#include "ui/main_ui.h"
#include "ui/main_window.h"
#include "ui/program.h"
#include "ui/single_instance.h"
#include "ui/tool_bar.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"
#include "support/wait_for.h"

namespace accelog {
namespace {

class ScriptedUi : public MainUi {
 public:
  using MainUi::MainUi;
  void MessageWith(const std::string& text, MessageIcon, const std::string&, const std::string&) override {
    messages.push_back(text);
    if (sink) sink->push_back(text);
  }
  bool AskOkCancel(const std::string& text) override {
    questions.push_back(text);
    return true;
  }
  std::string OpenFileName(const std::string&, const std::string&) override { return Next(); }
  std::string SaveFileName(const std::string&, const std::string&) override { return Next(); }
  std::string Next() {
    if (files.empty()) return {};
    std::string f = files.front();
    files.pop_front();
    return f;
  }
  std::deque<std::string> files;
  std::vector<std::string> messages, questions;
  std::vector<std::string>* sink = nullptr;  // outlives a port made before the windows
};

using testing::WaitFor;

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder_.File("data"))); }

  std::unique_ptr<Program> Make(ProgramOptions o) {
    o.lock_folder = QString::fromStdString(folder_.File("run"));
    o.simulator_folder = QString::fromStdString(folder_.File("run"));
    return std::make_unique<Program>(o, [this](MainWindow* w, FormPicture* c) {
      auto ui = std::make_unique<ScriptedUi>(w, c);
      if (w) ui_ = ui.get();
      else ui->sink = &early_messages_;
      return ui;
    });
  }
  std::unique_ptr<Program> StartSimulated(uint32_t samples) {
    auto p = Make({.simulate = true, .samples = samples});
    EXPECT_TRUE(p->Start());
    EXPECT_TRUE(WaitFor([this] { return ui_ && ui_->PanelText(2) == "ACCELOG-SIM1"; }, 5000));
    return p;
  }
  QString Panel(int n) const { return ui_->PanelText(n); }

  testing::TempFolder folder_;
  ScriptedUi* ui_ = nullptr;
  std::vector<std::string> early_messages_;  // shown before any window existed
};

// A lock left by a crashed run (a process id above any kernel's limit) is
// taken over; a second program is then refused.
TEST_F(ProgramTest, StartsOverAStaleLockRefusesASecondInstanceAndDownloadsOverAnOldFile) {
  const QString lock = SingleInstance(QString::fromStdString(folder_.File("run"))).LockPath();
  ASSERT_TRUE(std::ofstream(lock.toStdString()) << "2147483000\naccelog\n" << QSysInfo::machineHostName().toStdString() << "\n");
  auto p = StartSimulated(100);
  ScriptedUi* first_ui = ui_;
  EXPECT_FALSE(Make({.simulate = true})->Start());
  EXPECT_EQ(early_messages_, std::vector<std::string>{"Program runing!!"});
  EXPECT_EQ(ui_, first_ui);  // no second window: the running program is untouched
  const std::string out = folder_.File("run1");
  testing::WriteBytes(out + ".kvx", {1, 2, 3});
  ui_->files = {out, out};
  ToolBarWindow* bar = p->Window()->ToolBar();
  ui_->SetCaption("data is erro!11");  // how an earlier live run ended
  bar->Button(kDownloadData)->click();
  EXPECT_EQ(ui_->questions, std::vector<std::string>{"The filename already exists ,overwrite it  ?"});
  EXPECT_EQ(p->Window()->windowTitle(), "accelog");  // later work clears it
  ASSERT_TRUE(WaitFor([&] { return p->Window()->Data().MenuCommandCode == MenuOperation::Download && p->TheDevice()->command.Operation == ActiveOperation::Download; }, 3000));
  EXPECT_FALSE(bar->Button(kDownloadData)->isEnabled());
  bar->Button(kAcceleration)->click();  // busy: does nothing
  EXPECT_EQ(ui_->files.size(), 1u);

  ASSERT_TRUE(WaitFor([this] { return Panel(2) == "Download End"; }, 8000));
  EXPECT_EQ(p->Chart()->StatBox(kPointCountBox)->text(), "100");
  for (int b = 0; b < kToolButtons; ++b) EXPECT_TRUE(bar->Button(b)->isEnabled()) << b;
}

// Stop (button or menu) stops a download as Escape does; the file it leaves
// says, when opened, that it is short. A file without samples is refused.
// An unplug ends the next download and frees every button.
TEST_F(ProgramTest, StopOrUnplugEndsADownloadAndOpeningJudgesTheFile) {
  auto p = StartSimulated(20000);
  const std::string out = folder_.File("part");
  ui_->files = {out};
  ToolBarWindow* bar = p->Window()->ToolBar();
  bar->Button(kDownloadData)->click();
  ASSERT_TRUE(WaitFor([&] { return p->TheDevice()->download.BlockIndex >= 10; }, 30000));
  EXPECT_FALSE(bar->Button(kAcceleration)->isEnabled());
  ASSERT_TRUE(bar->Button(kStop)->isEnabled());
  bar->Button(kStop)->click();
  EXPECT_EQ(Panel(2), "Download stopped");
  EXPECT_EQ(p->Window()->Data().MenuCommandCode, MenuOperation::None);
  const auto samples = (std::filesystem::file_size(out + ".kvx") - 19) / 6;
  ASSERT_GE(samples, 80u);

  ui_->files = {out + ".kvx"};
  p->Window()->RunMenuItem("File004");
  EXPECT_EQ(Panel(3), QString("%1 of 20000 samples: the download was not finished").arg(samples));
  EXPECT_EQ(p->Chart()->StatBox(kFileNameBox)->text(), "part.kvx");
  EXPECT_EQ(p->Chart()->StatBox(kFileNameBox)->toolTip().toStdString(), out + ".kvx");

  ui_->messages.clear();
  ui_->files = {folder_.File("bad.kvx")};
  testing::WriteBytes(ui_->files[0], testing::KvxImage(testing::KvxHead{}, {}));
  p->Window()->RunMenuItem("File004");
  EXPECT_EQ(ui_->messages, std::vector<std::string>{"Data is error !"});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone

  // What the unplug leaves in the file is the download engine's, checked over
  // the socket and from accelog-cli; here the window is free again.
  ui_->files = {folder_.File("run2")};
  p->Window()->RunMenuItem("File008");
  ASSERT_TRUE(WaitFor([&] { return p->TheDevice()->download.BlockIndex >= 20; }, 30000));
  p->Simulator()->SetFaults({.close_after = 0});
  ASSERT_TRUE(WaitFor([this] { return Panel(1) == "No Device !"; }, 30000));
  for (int b = 0; b < kToolButtons; ++b) EXPECT_TRUE(bar->Button(b)->isEnabled()) << b;
}

// With no logger found, the status bar points to File > "Use Simulated
// Logger"; the choice holds for the next start without --device.
TEST_F(ProgramTest, NoLoggerPointsToTheSimulatedOneWhichIsRemembered) {
  auto p = Make({.device = "sim:" + folder_.File("nobody.sock"), .device_given = true});
  ASSERT_TRUE(p->Start());
  ASSERT_TRUE(WaitFor([this] { return Panel(1) == "No Device !"; }, 6000));
  EXPECT_EQ(Panel(2).toStdString(), kSimulatorHint);
  QAction* use = p->Window()->Action("UseSimulator");
  EXPECT_FALSE(use->isChecked());
  use->trigger();
  EXPECT_TRUE(use->isChecked());
  ASSERT_NE(p->Simulator(), nullptr);
  ASSERT_TRUE(WaitFor([this] { return Panel(1) == "Connet    OK" && Panel(2) == "ACCELOG-SIM1"; }, 5000));
  p.reset();

  p = Make(ProgramOptions{});
  ASSERT_TRUE(p->Start());
  ASSERT_NE(p->Simulator(), nullptr);
  EXPECT_TRUE(p->Window()->Action("UseSimulator")->isChecked());
  ASSERT_TRUE(WaitFor([this] { return Panel(2) == "ACCELOG-SIM1"; }, 5000));
  p->Window()->Action("UseSimulator")->trigger();  // back to the logger on USB
  EXPECT_EQ(p->Simulator(), nullptr);
  EXPECT_FALSE(MainWindow::Setting("UseSimulatedLogger"));
}

// accelog FILE.kvx: the acceleration view, or the frequency view for a spectrum capture.
TEST_F(ProgramTest, AFileOnTheCommandLineOpensAtStartUp) {
  ProgramOptions o;
  QString error;
  ASSERT_TRUE(ParseProgramOptions({"accelog", "--device", "sim:" + QString::fromStdString(folder_.File("no.sock")),
                                   QString::fromStdString(folder_.File("run 1.kvx"))},
                                  o, error));
  EXPECT_FALSE(ParseProgramOptions({"accelog", "a.kvx", "b.kvx"}, o, error));
  testing::WriteBytes(o.open_file, testing::KvxImage({.count = 40}, testing::Wave(40)));
  auto p = Make(o);
  ASSERT_TRUE(p->Start());
  EXPECT_TRUE(p->Window()->Data().DataLoaded);
  EXPECT_EQ(p->Chart()->StatBox(kPointCountBox)->text(), "40");
  EXPECT_EQ(p->Chart()->StatBox(kFileNameBox)->text(), "run 1.kvx");
  EXPECT_TRUE(p->Chart()->CheckFrequencyInHz()->isHidden());  // the spectrum options show with a spectrum only
  p.reset();

  const std::string data_file = o.open_file;
  o.open_file = folder_.File("spectrum.kvx");
  testing::WriteBytes(o.open_file, testing::KvxImage({.interval = 4, .work_mode = 1, .count = 256}, testing::Wave(256)));
  p = Make(o);
  ASSERT_TRUE(p->Start());
  EXPECT_TRUE(p->Window()->Data().FrequencyFileLoaded);
  EXPECT_FALSE(p->Window()->Data().DataLoaded);
  // Z holds gravity on line 1, which is 0 Hz; without its mean the peak moves.
  QLineEdit* z_peak = p->Chart()->StatBox(kPeakLineBox + 2);
  EXPECT_EQ(z_peak->text(), "1");
  QCheckBox* const hz_and_mean[] = {p->Chart()->CheckFrequencyInHz(), p->Chart()->CheckRemoveMean()};
  for (QCheckBox* box : hz_and_mean) ASSERT_FALSE(box->isHidden() || box->isChecked());
  hz_and_mean[0]->click();
  EXPECT_EQ(z_peak->text(), "0");
  hz_and_mean[1]->click();
  EXPECT_NE(z_peak->text(), "0");
  p.reset();

  // Both hold for the next start, out of sight in the acceleration view.
  o.open_file = data_file;
  p = Make(o);
  ASSERT_TRUE(p->Start());
  for (QCheckBox* box : {p->Chart()->CheckFrequencyInHz(), p->Chart()->CheckRemoveMean()}) {
    EXPECT_TRUE(box->isChecked() && box->isHidden());
  }
}

}  // namespace
}  // namespace accelog
