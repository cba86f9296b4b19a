#pragma once
// The system's printers as the printer choice needs them: their names, the
// default, and making one the user's default. The program uses CUPS; tests
// use a fake so they never depend on a running print server.
#include <memory>
#include <string>
#include <vector>

namespace accelog {

class PrinterSystem {
 public:
  virtual ~PrinterSystem() = default;
  virtual std::vector<std::string> Names() = 0;
  virtual std::string DefaultName() = 0;
  // 0 when done, else the system's error number.
  virtual int SetDefault(const std::string& name) = 0;
};

// CUPS: the destinations, and the user's default as `lpoptions -d` sets it.
std::unique_ptr<PrinterSystem> MakeCupsPrinters();

}  // namespace accelog
