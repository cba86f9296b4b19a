#include "app/file_menu.h"

#include <string>

#include "core/ui_port.h"
#include "model/state.h"
#include "model/text_util.h"

namespace accelog {

namespace {
void ShowAccelerationFile(const std::string& name) {
  Data.DataFileName = name;
  Ui().BusyPointer(true);
  Ui().ShowDataFile(name);  // DispDataReady_14, then the file opened and drawn
  Ui().BusyPointer(false);
}
}  // namespace

void OpenAccelerationFromDialog() {
  if (Data.MenuCommandCode != MenuOperation::None) return;
  Data.FrequencyView = false;
  Data.FrequencyFileLoaded = false;
  Ui().ClearChart();
  const std::string name = Ui().OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  ShowAccelerationFile(name);
}

void OpenAccelerationFile(const std::string& name) {
  if (Data.MenuCommandCode != MenuOperation::None) return;
  Data.FrequencyView = false;
  Data.FrequencyFileLoaded = false;
  Ui().ClearChart();
  ShowAccelerationFile(name);
}

void OpenFrequencyFromDialog() {
  if (Data.MenuCommandCode != MenuOperation::None) return;
  Data.DataLoaded = false;
  Ui().ClearChart();
  const std::string name = Ui().OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  Ui().ShowFrequencyFile(name);
}

void OpenFrequencyFile(const std::string& name) {
  if (Data.MenuCommandCode != MenuOperation::None) return;
  Data.DataLoaded = false;
  Ui().ClearChart();
  Ui().ShowFrequencyFile(name);
}

}  // namespace accelog
