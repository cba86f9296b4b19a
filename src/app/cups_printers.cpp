#include <cups/cups.h>

#include "app/printers.h"

namespace accelog {
namespace {

// "name" or "name/instance", as lpoptions names a destination.
std::string DestName(const cups_dest_t& d) {
  std::string n = d.name;
  if (d.instance) n += std::string("/") + d.instance;
  return n;
}

class CupsPrinters : public PrinterSystem {
 public:
  std::vector<std::string> Names() override {
    std::vector<std::string> names;
    cups_dest_t* dests = nullptr;
    const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < n; ++i) names.push_back(DestName(dests[i]));
    cupsFreeDests(n, dests);
    return names;
  }

  std::string DefaultName() override {
    cups_dest_t* dests = nullptr;
    const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::string name;
    for (int i = 0; i < n; ++i) {
      if (dests[i].is_default) name = DestName(dests[i]);
    }
    cupsFreeDests(n, dests);
    return name;
  }

  int SetDefault(const std::string& name) override {
    const size_t slash = name.find('/');
    const std::string printer = name.substr(0, slash);
    const std::string instance = slash == std::string::npos ? std::string() : name.substr(slash + 1);
    cups_dest_t* dests = nullptr;
    const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    int error = 0;
    if (!cupsGetDest(printer.c_str(), instance.empty() ? nullptr : instance.c_str(), n, dests)) {
      error = IPP_STATUS_ERROR_NOT_FOUND;
    } else {
      cupsSetDefaultDest(printer.c_str(), instance.empty() ? nullptr : instance.c_str(), n, dests);
      if (cupsSetDests2(CUPS_HTTP_DEFAULT, n, dests) != 0) {
        error = cupsLastError() != IPP_STATUS_OK ? static_cast<int>(cupsLastError()) : -1;
      }
    }
    cupsFreeDests(n, dests);
    return error;
  }
};

}  // namespace

std::unique_ptr<PrinterSystem> MakeCupsPrinters() { return std::make_unique<CupsPrinters>(); }

}  // namespace accelog
