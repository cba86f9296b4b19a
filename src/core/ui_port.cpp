#include "core/ui_port.h"

namespace accelog {

void UiPort::ShowDataFile(const std::string& file) { (void)file; }
void UiPort::ShowFrequencyFile(const std::string& file) { (void)file; }

}  // namespace accelog
