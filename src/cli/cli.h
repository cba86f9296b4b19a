#pragma once
// accelog-cli: the headless front end. Each command is a function taking the
// words after its name; the exit codes are the same for all of them.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/ui_port.h"

namespace accelog::cli {

// The file commands' messages ("Data is error !" ...), one line on stderr each.
class StderrUi : public UiPort {
 public:
  void Message(const std::string& text, MessageIcon) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitUsage = 64;

struct Args {
  std::vector<std::string> words;  // what follows the command name
  std::string device;              // --device URI, "usb" when not given

  // Removes "--name VALUE" (or "--name=VALUE") and returns VALUE.
  std::optional<std::string> TakeValue(const std::string& name);
  // Removes "--name" and says whether it was there.
  bool TakeFlag(const std::string& name);
  // Whatever is left that looks like an option.
  std::optional<std::string> UnknownOption() const;
};

// Parses a whole decimal number; nothing on any other text.
std::optional<long long> ParseInteger(const std::string& text);

int RunInfo(Args& args);
int RunPoints(Args& args);
int RunSlots(Args& args);
int RunScan(Args& args);
int RunDownload(Args& args);
int RunSetParams(Args& args);
int RunRender(Args& args);
int RunPrint(Args& args);
int RunSpectrum(Args& args);

}  // namespace accelog::cli
