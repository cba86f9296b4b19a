#include "app/file_menu.h"

#include <string>

#include "core/ui_port.h"
#include "model/dataset.h"
#include "model/text_util.h"

namespace accelog {

namespace {
void ShowAccelerationFile(UiPort& ui, Dataset& data, const std::string& name) {
  data.DataFileName = name;
  ui.BusyPointer(true);
  ui.ShowDataFile(name);  // DispDataReady_14, then the file opened and drawn
  ui.BusyPointer(false);
}
}  // namespace

void OpenAccelerationFromDialog(UiPort& ui, Dataset& data) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.FrequencyView = false;
  data.FrequencyFileLoaded = false;
  ui.ClearChart();
  const std::string name = ui.OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  ShowAccelerationFile(ui, data, name);
}

void OpenAccelerationFile(UiPort& ui, Dataset& data, const std::string& name) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.FrequencyView = false;
  data.FrequencyFileLoaded = false;
  ui.ClearChart();
  ShowAccelerationFile(ui, data, name);
}

void OpenFrequencyFromDialog(UiPort& ui, Dataset& data) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.DataLoaded = false;
  ui.ClearChart();
  const std::string name = ui.OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  ui.ShowFrequencyFile(name);
}

void OpenFrequencyFile(UiPort& ui, Dataset& data, const std::string& name) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.DataLoaded = false;
  ui.ClearChart();
  ui.ShowFrequencyFile(name);
}

}  // namespace accelog
