#include "core/ui_port.h"

namespace accelog {
namespace {
UiPort g_silent;
UiPort* g_port = &g_silent;
}  // namespace

void UiPort::ShowDataFile(const std::string& file) { (void)file; }
void UiPort::ShowFrequencyFile(const std::string& file) { (void)file; }

UiPort& Ui() { return *g_port; }
void SetUi(UiPort* port) { g_port = port ? port : &g_silent; }

}  // namespace accelog
