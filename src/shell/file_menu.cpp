#include "shell/file_menu.h"

#include <string>

#include "core/ui_port.h"
#include "data/state.h"
#include "data/text_util.h"

namespace accelog {

void File004_Click() {
  if (Data.MenuCommandCode != 0) return;
  Data.FrequencyView = false;
  Data.FrequencyFileLoaded = false;
  Ui().ClearChart();
  const std::string name = Ui().OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  Data.DataFileName = name;
  Ui().BusyPointer(true);
  Ui().ShowDataFile(name);  // DispDataReady_14, then the file opened and drawn
  Ui().BusyPointer(false);
}

void File005_Click() {
  if (Data.MenuCommandCode != 0) return;
  Data.DataLoaded = false;
  Ui().ClearChart();
  const std::string name = Ui().OpenFileName("Select File", "*.Kvx");
  if (TrimBlanks(name).empty()) return;
  Ui().ShowFrequencyFile(name);
}

}  // namespace accelog
