#include "app/device_menu.h"

#include <filesystem>
#include <string>

#include "core/program_folder.h"
#include "core/ui_port.h"
#include "device/device.h"
#include "device/texts.h"
#include "model/machine_parameter.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"

namespace accelog {
namespace {

// The save dialog's name with the extension the engines write.
std::string ChosenKvxName(UiPort& ui) {
  const std::string chosen = ui.SaveFileName("Select File", "*.KVX");
  return chosen.empty() ? std::string() : CleanFileName(chosen) + ".kvx";
}

bool Exists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::exists(name, ec);
}

// An existing file is replaced only when the user says so; empty when it
// was, else why not (empty too when the user declined: `declined` says so).
bool MayReplace(UiPort& ui, const std::string& name, std::string& problem) {
  if (!Exists(name)) return true;
  if (!ui.AskOkCancel("The filename already exists ,overwrite it  ?")) return false;
  std::error_code ec;
  if (std::filesystem::remove(name, ec)) return true;
  problem = ec.message();
  return false;
}

void CaptureFileFailure(UiPort& ui, const std::string& name, const std::string& reason) {
  ui.Message("The capture file " + name + " could not be written: " + reason, MessageIcon::Exclamation);
}

}  // namespace

void SendSystemParameters(Device& device) {
  Dataset& data = device.Data();
  UiPort& ui = device.Port();
  if (device.RefuseWithoutLink()) return;
  if (data.MenuCommandCode != MenuOperation::None) return;
  RecordingParameters& p = device.Parameters();
  p.ParameterAccepted = false;
  data.DataLoaded = false;
  data.FrequencyFileLoaded = false;
  data.FrequencyView = false;
  ui.ClearChart();
  // The dialog is modal while the timers run: the link may go meanwhile.
  p.ParameterDialogMode = 0;
  ui.ShowParameterDialog();
  if (p.ParameterAccepted && device.link.LinkConfirmed) device.SendParameters(p);
  p.ParameterAccepted = false;
  if (!device.link.LinkConfirmed) {
    ui.Message(Lang(p, "No connect machine!", "设备没有连接!!"), MessageIcon::Exclamation);
  }
}

void DownloadData(Device& device) {
  Dataset& data = device.Data();
  UiPort& ui = device.Port();
  if (device.RefuseWithoutLink()) return;
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.DataLoaded = false;
  data.FrequencyFileLoaded = false;
  data.FrequencyView = false;
  ui.ClearChart();
  const std::string name = ChosenKvxName(ui);
  if (TrimBlanks(name).empty()) return;
  // Checked before the logger is asked anything: a folder is never the file.
  if (const std::string problem = DownloadTargetProblem(name); !problem.empty()) {
    ui.Message(name + ": " + problem, MessageIcon::Exclamation);
    return;
  }
  std::string problem;
  if (!MayReplace(ui, name, problem)) {
    if (!problem.empty()) ui.Message(name + ": cannot be replaced: " + problem, MessageIcon::Exclamation);
    return;
  }
  device.Download(name);
}

void ToggleLiveCapture(Device& device) {
  Dataset& data = device.Data();
  UiPort& ui = device.Port();
  if (device.RefuseWithoutLink()) return;
  if (data.MenuCommandCode != MenuOperation::None && data.MenuCommandCode != MenuOperation::LiveData) return;
  if (device.ToggleLiveCapture()) return;
  device.ClearCaptionDiagnostic();
  const std::string name = ChosenKvxName(ui);
  if (TrimBlanks(name).empty()) return;
  // A file that stays would lend its old tail to the new capture.
  std::string problem;
  if (!MayReplace(ui, name, problem)) {
    if (!problem.empty()) CaptureFileFailure(ui, name, problem);
    return;
  }
  auto& p = device.Parameters();
  p.ParameterDialogMode = 1;
  ui.ShowParameterDialog();
  if (!p.ParameterAccepted) {
    p.ParameterDialogMode = 0;
    return;
  }
  p.ParameterAccepted = false;
  device.StartLive(name, p);
}

void ToggleLiveSpectrum(Device& device) {
  Dataset& data = device.Data();
  UiPort& ui = device.Port();
  if (device.RefuseWithoutLink()) return;
  if (data.MenuCommandCode != MenuOperation::None && data.MenuCommandCode != MenuOperation::LiveSpectrum) return;
  if (device.ToggleLiveSpectrum()) return;
  std::string name;
  if (!ui.AskOkCancel("Do you want to save FFT Data  ?", "  ")) {
    name = ProgramFile(kSpectrumCancelName);
  } else {
    const std::string chosen = ui.SaveFileName("Select File", "*.KVX");
    if (TrimBlanks(chosen).empty()) return;
    // The rule first: the file asked about is the file that is written.
    name = SpectrumFileName(CleanFileName(chosen) + ".kvx");
    std::string problem;
    if (!MayReplace(ui, name, problem)) {
      if (!problem.empty()) CaptureFileFailure(ui, name, problem);
      return;
    }
    ui.Message("File name is  " + name);
  }
  device.StartLiveSpectrum(name);
}

}  // namespace accelog
