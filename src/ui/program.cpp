#include "ui/program.h"

#include <unistd.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QStandardPaths>

#include "core/program_folder.h"
#include "app/chart.h"
#include "ui/chart_analysis.h"
#include "ui/form_picture.h"
#include "ui/qt_program_folder.h"
#include "ui/qt_timer.h"
#include "model/conversion.h"
#include "app/export_menu.h"
#include "model/fft.h"
#include "ui/form2.h"
#include "model/dataset.h"
#include "app/device_menu.h"
#include "device/device.h"
#include "device/transport.h"
#include "model/machine_parameter.h"
#include "ui/print_command.h"
#include "ui/report_command.h"
#include "app/print_layout.h"
#include "app/printers.h"
#include "ui/device_watch.h"
#include "app/file_menu.h"
#include "ui/main_ui.h"
#include "ui/main_window.h"
#include "app/shell_rules.h"
#include "ui/single_instance.h"
#include "ui/tool_bar.h"
#include "ui/twips.h"
#include "sim/recording.h"
#include "sim/simulator.h"

namespace accelog {

bool ParseProgramOptions(const QStringList& args, ProgramOptions& o, QString& error) {
  for (int i = 1; i < args.size(); ++i) {
    const QString a = args[i];
    if (a == "--simulate") {
      o.simulate = true;
    } else if ((a == "--samples" || a == "--device" || a == "--trace") && i + 1 < args.size()) {
      const QString v = args[++i];
      if (a == "--device") {
        o.device = v.toStdString();
        o.device_given = true;
        continue;
      }
      if (a == "--trace") {
        o.trace = v.toStdString();
        continue;
      }
      bool ok = false;
      const qulonglong n = v.toULongLong(&ok);
      if (!ok || n > 0xFFFFFFFFull) {
        error = "--samples needs a number of samples";
        return false;
      }
      o.samples = static_cast<uint32_t>(n);
    } else if (!a.startsWith("-") && o.open_file.empty()) {
      o.open_file = a.toStdString();
    } else {
      error = a.startsWith("-") ? "unknown option " + a : "one file at a time: " + a;
      return false;
    }
  }
  if (o.device != "usb" && o.device.rfind("sim:", 0) != 0) {
    error = "--device is usb or sim:SOCKET";
    return false;
  }
  return true;
}

Program::Program(ProgramOptions options, UiFactory ui_factory, std::unique_ptr<PrinterSystem> printers)
    : options_(std::move(options)), ui_factory_(std::move(ui_factory)), printers_(std::move(printers)) {
  if (!printers_) printers_ = MakeCupsPrinters();
  if (!ui_factory_) {
    ui_factory_ = [](MainWindow* w, FormPicture* c) { return std::make_unique<MainUi>(w, c); };
  }
}

Program::~Program() {
  if (!window_) return;  // never started: nothing of ours to take down
  print_.reset();
  export_.reset();
  watch_.reset();
  // Device and timers go before the windows and the event loop.
  device_.reset();
  window_.reset();
  if (simulator_) simulator_->Stop();
}

bool Program::StartSimulator() {
  QString folder = options_.simulator_folder;
  if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  QDir().mkpath(folder);
  const std::string socket =
      QDir(folder).filePath(QString("accelog-sim-%1.sock").arg(::getpid())).toStdString();
  simulator_ = std::make_unique<sim::Simulator>(sim::MakeRecording(options_.samples, 1));
  std::string error;
  if (!simulator_->Start(socket, &error)) {
    ui_factory_(nullptr, nullptr)->Message("The simulated logger could not start: " + error,
                                           MessageIcon::Exclamation);
    return false;
  }
  options_.device = "sim:" + socket;
  return true;
}

bool Program::Start() {
  // One program per user; a refused start touches nothing of the running one.
  instance_ = std::make_unique<SingleInstance>(options_.lock_folder);
  if (!instance_->Acquire()) {
    std::unique_ptr<MainUi> ui = ui_factory_(nullptr, nullptr);
    ui->Message("Program runing!!", MessageIcon::Exclamation);
    return false;
  }

  InitProgramFolderFromQt();
  parameters_ = std::make_unique<ParameterStore>(ProgramPath);
  parameters_->LoadAtStartup();  // ends with LanguageFlag = 1

  // Without a device on the command line, the logger chosen last time.
  if (!options_.device_given && MainWindow::Setting("UseSimulatedLogger")) options_.simulate = true;
  if (options_.simulate && !StartSimulator()) return false;
  std::unique_ptr<Transport> transport = MakeTransport(options_.device);
  if (!transport) return false;
  if (!options_.trace.empty()) {
    std::string error;
    transport = MakeTracingTransport(std::move(transport), options_.trace, &error);
    if (!transport) {
      ui_factory_(nullptr, nullptr)->Message("The frame trace cannot be written: " + error, MessageIcon::Exclamation);
      return false;
    }
  }
  chart_model_ = std::make_unique<accelog::Chart>(data_);
  // The spectrum options as they were left last time.
  chart_model_->SetRemoveMean(MainWindow::Setting("SpectrumRemoveMean") ? 1 : 0);
  chart_model_->SetFrequencyInHz(MainWindow::Setting("SpectrumFrequencyInHz") ? 1 : 0);
  chart_ = new FormPicture(*chart_model_);
  window_ = std::make_unique<MainWindow>(chart_, data_);
  ui_ = ui_factory_(window_.get(), chart_);
  window_->UsePort(*ui_);
  ui_->UseParameterStore(parameters_.get());
  export_ = std::make_unique<DataExport>(data_, *ui_, MakeQtTimer());
  MakeDevice(std::move(transport));
  window_->SetHandlers({
      {"File002", [this] { SendSystemParameters(*device_); }},
      {"File008", [this] { DownloadData(*device_); }},
      {"File004", [this] { OpenAccelerationFromDialog(*ui_, data_); }},
      {"File007", [this] { export_->ExportData(); }},
      {"File012", [this] { window_->OpenDataList(); }},
      {"File009", [this] { ToggleLiveCapture(*device_); }},
      {"File011", [this] { ToggleLiveSpectrum(*device_); }},
      {"File005", [this] { OpenFrequencyFromDialog(*ui_, data_); }},
      {"File006", [this] { print_->StartPrint(); }},
      {"Report", [this] { MakeReportFromWindow(window_.get(), data_, *ui_, chart_model_->scene.FilePath); }},
      {"Escape", [this] { device_->StopDownload(); }},
      {"UseSimulator", [this] { UseSimulatedLogger(!simulator_); }},
  });
  window_->SetMenuMark("UseSimulator", simulator_ != nullptr);
  ui_->SetSimulatedLogger(simulator_ != nullptr);
  PrintJob job;
  job.Parameters = parameters_.get();
  print_ = std::make_unique<PrintCommand>(window_.get(), chart_, *printers_, *ui_, MakeQtTimer(), job);
  QObject::connect(chart_, &FormPicture::ToolHintCleared, window_->ToolBar()->HintLabel(), &QLabel::clear);
  QObject::connect(chart_->CheckRemoveMean(), &QCheckBox::clicked, window_.get(),
                   [this](bool on) { window_->RememberSetting("SpectrumRemoveMean", on, "Remove mean"); });
  QObject::connect(chart_->CheckFrequencyInHz(), &QCheckBox::clicked, window_.get(),
                   [this](bool on) { window_->RememberSetting("SpectrumFrequencyInHz", on, "Frequency in Hz"); });
  new ChartAnalysis(*window_, *chart_);  // owned by the window

  WatchDevice();
  device_->StartScan();
  window_->show();
  window_->RestScreen();
  window_->Shell().StartupComplete = true;
  if (!options_.open_file.empty()) OpenStartFile(options_.open_file);
  return true;
}

void Program::WatchDevice() {
  // Device changes stand in for the window hook's device-change message.
  watch_ = std::make_unique<DeviceWatch>();
  watch_->SetDevice(device_.get());
  if (options_.device.rfind("sim:", 0) == 0) {
    watch_->WatchSocket(QString::fromStdString(options_.device.substr(4)));
  } else {
    watch_->WatchUsb();
  }
  QObject::connect(watch_.get(), &DeviceWatch::DeviceChanged, window_.get(), [this] { OnDeviceChanged(); });
}

void Program::UseSimulatedLogger(bool on) {
  if (data_.MenuCommandCode != MenuOperation::None) return;  // like every menu item while the logger is busy
  if (on != (simulator_ != nullptr)) {
    device_.reset();  // the open device goes first
    watch_.reset();
    if (on && !StartSimulator()) on = false;  // the reason was shown: back to USB
    if (!on) {
      simulator_.reset();  // stops it
      options_.device = "usb";
    }
    MakeDevice(MakeTransport(options_.device));
    WatchDevice();
    ui_->SetSimulatedLogger(on);
    ui_->StatusPanel(kHintPanel, "");
    device_->StartScan();
  }
  window_->SetMenuMark("UseSimulator", on);
  window_->RememberSetting("UseSimulatedLogger", on, "Use Simulated Logger");
}

void Program::OpenStartFile(const std::string& file) {
  if (IsSpectrumCapture(file)) {
    OpenFrequencyFile(*ui_, data_, file);
  } else {
    OpenAccelerationFile(*ui_, data_, file);
  }
}

void Program::OnDeviceChanged() {
  if (window_ && DeviceChangeStartsScan(window_->Shell(), data_.MenuCommandCode)) device_->StartScan();
}

void Program::MakeDevice(std::unique_ptr<Transport> transport) {
  device_ = std::make_unique<Device>(std::move(transport),
                                     SteadyDeviceClock(MakeQtTimer), *ui_, data_, parameters_->Values());
}

}  // namespace accelog
