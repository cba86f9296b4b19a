#include "core/ui_port.h"

#include "model/fft.h"
#include "model/kvx_file.h"
#include "model/machine_parameter.h"

namespace accelog {
namespace {
UiPort g_silent;
UiPort* g_port = &g_silent;
}  // namespace

void UiPort::ShowDataFile(const std::string& file) { OpenDataFileServer(file); }
void UiPort::ShowFrequencyFile(const std::string& file) { ReadFrequencyFile(file); }
void UiPort::ShowParameterDialog() { MachineParameter.ParameterAccepted = true; }

UiPort& Ui() { return *g_port; }
void SetUi(UiPort* port) { g_port = port ? port : &g_silent; }

}  // namespace accelog
