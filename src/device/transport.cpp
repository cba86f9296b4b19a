#include "device/transport.h"

namespace accelog {

std::string SimulatedDevicePath(const std::string& socket_path) {
  return "sim#vid_1041&pid_8102#" + socket_path;
}

std::unique_ptr<Transport> MakeTransport(const std::string& uri) {
  if (uri.empty() || uri == "usb") return MakeUsbTransport();
  if (uri.rfind("sim:", 0) == 0 && uri.size() > 4) return MakeSocketTransport(uri.substr(4));
  return nullptr;
}

}  // namespace accelog
