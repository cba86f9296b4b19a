#include "app/file_menu.h"

#include <string>

#include "core/ui_port.h"
#include "model/state.h"
#include "model/text_util.h"

namespace accelog {

namespace {
void ShowAccelerationFile(Dataset& data, const std::string& name) {
  data.DataFileName = name;
  Ui().BusyPointer(true);
  Ui().ShowDataFile(name);  // DispDataReady_14, then the file opened and drawn
  Ui().BusyPointer(false);
}
}  // namespace

void OpenAccelerationFromDialog(Dataset& data) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.FrequencyView = false;
  data.FrequencyFileLoaded = false;
  Ui().ClearChart();
  const std::string name = Ui().OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  ShowAccelerationFile(data, name);
}

void OpenAccelerationFile(Dataset& data, const std::string& name) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.FrequencyView = false;
  data.FrequencyFileLoaded = false;
  Ui().ClearChart();
  ShowAccelerationFile(data, name);
}

void OpenFrequencyFromDialog(Dataset& data) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.DataLoaded = false;
  Ui().ClearChart();
  const std::string name = Ui().OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  Ui().ShowFrequencyFile(name);
}

void OpenFrequencyFile(Dataset& data, const std::string& name) {
  if (data.MenuCommandCode != MenuOperation::None) return;
  data.DataLoaded = false;
  Ui().ClearChart();
  Ui().ShowFrequencyFile(name);
}

}  // namespace accelog
