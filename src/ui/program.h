#pragma once
// The running program: the start-up sequence, the windows, the device link
// and, with --simulate, an embedded simulated logger.
#include <QString>
#include <functional>
#include <memory>

#include "model/dataset.h"
#include <string>

#include "app/printers.h"

namespace accelog {

namespace sim {
class Simulator;
}
class Chart;
class DataExport;
class Device;
class DeviceWatch;
class Transport;
class FormPicture;
class MainUi;
class MainWindow;
class ParameterStore;
class PrintCommand;
class SingleInstance;

struct ProgramOptions {
  std::string device = "usb";   // "usb" or "sim:<socket path>"
  bool device_given = false;    // --device was on the command line
  bool simulate = false;        // an embedded simulated logger
  uint32_t samples = 20000;     // its memory
  std::string trace;            // --trace FILE: every frame and link failure
  QString lock_folder;          // empty: the user's runtime folder
  QString simulator_folder;     // empty: the user's runtime folder
  std::string open_file;        // a .kvx file shown once the window is up
};

// Parses the command line; false with a message in `error` on bad usage.
bool ParseProgramOptions(const QStringList& args, ProgramOptions& options, QString& error);

class Program {
 public:
  // Makes the message port for the windows; tests pass a scripted one.
  using UiFactory = std::function<std::unique_ptr<MainUi>(MainWindow*, FormPicture*)>;

  // The printers default to the system's (CUPS); tests pass a fake.
  explicit Program(ProgramOptions options, UiFactory ui_factory = {},
                   std::unique_ptr<PrinterSystem> printers = {});
  ~Program();

  // MDIForm_Load. False when the program must not go on (a second instance,
  // an unusable device choice); the reason was shown.
  bool Start();

  MainWindow* Window() const { return window_.get(); }
  FormPicture* Chart() const { return chart_; }
  MainUi* Ui() const { return ui_.get(); }
  sim::Simulator* Simulator() const { return simulator_.get(); }
  DeviceWatch* Watch() const { return watch_.get(); }
  Device* TheDevice() const { return device_.get(); }
  PrintCommand* Printing() const { return print_.get(); }
  // The device changed (hotplug, socket): a scan when idle after start-up.
  void OnDeviceChanged();
  // File > "Use Simulated Logger": the embedded simulated logger or the one
  // on USB, remembered for the next start. Refused while a command runs.
  void UseSimulatedLogger(bool on);
  // A file given on the command line: the acceleration view, or the
  // frequency view for a spectrum capture.
  void OpenStartFile(const std::string& file);

 private:
  bool StartSimulator();
  // Watches options_.device coming and going.
  void WatchDevice();
  void MakeDevice(std::unique_ptr<Transport> transport);

  ProgramOptions options_;
  UiFactory ui_factory_;
  std::unique_ptr<SingleInstance> instance_;
  std::unique_ptr<ParameterStore> parameters_;
  std::unique_ptr<sim::Simulator> simulator_;
  Dataset data_;  // the file or capture on view
  std::unique_ptr<accelog::Chart> chart_model_;  // outlives the window that shows it
  std::unique_ptr<MainWindow> window_;
  FormPicture* chart_ = nullptr;  // owned by the window
  std::unique_ptr<MainUi> ui_;
  std::unique_ptr<Device> device_;  // after ui_: it speaks through it
  std::unique_ptr<DataExport> export_;
  std::unique_ptr<DeviceWatch> watch_;
  std::unique_ptr<PrinterSystem> printers_;
  std::unique_ptr<PrintCommand> print_;
};

}  // namespace accelog
