#pragma once
// accelog-cli: the headless front end. Each command is a function taking the
// words after its name; the exit codes are the same for all of them.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/ui_port.h"
#include "device/transport.h"
#include "model/dataset.h"

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
  std::string trace;               // --trace FILE, empty when not given
  char** argv = nullptr;           // the whole command line, for RunInQtHelper

  // Removes "--name VALUE" (or "--name=VALUE") and returns VALUE.
  std::optional<std::string> TakeValue(const std::string& name);
  // Removes "--name" and says whether it was there.
  bool TakeFlag(const std::string& name);
  // Whatever is left that looks like an option.
  std::optional<std::string> UnknownOption() const;
};

// The transport --device names, wrapped in the frame trace with --trace;
// nothing, with the reason on stderr, when either is unusable.
std::unique_ptr<accelog::Transport> MakeCliTransport(const Args& args, int& exit_code);

// Takes --device, --trace and --help off the front of the command line and the
// command's words after its name. Returns the index of the name (argc when
// there is none), -1 for --help or kAskedForVersion.
inline constexpr int kAskedForVersion = -2;
int ReadGlobalOptions(int argc, char** argv, Args& args);

// Parses a whole decimal number; nothing on any other text.
std::optional<long long> ParseInteger(const std::string& text);
// A number from the first character to the last ("2", "-0.5", "1e3"); nothing
// for "2abc", " 2" or "".
std::optional<double> ParseNumber(const std::string& text);
// "usage: accelog-cli USAGE" on stderr; returns kExitUsage.
int UsageError(const char* usage);
// The shortest text that reads back to the same double.
std::string ShortestText(double v);

// False, with "accelog-cli: FILE: reason" on stderr, for a file that does
// not exist or cannot be opened for reading (a folder included).
bool FileCanBeRead(const std::string& file);

// The program's folder, made on first use: where the parameter files are.
std::string ProgramFolder();

// Opens a .kvx file as the acceleration view does: kExitOk, kExitFailed for
// a file that cannot be read, or kExitRefused with the program's message on
// stderr.
int OpenKvxFile(Dataset& data, const std::string& file, Dataset::OpenScope scope = Dataset::OpenScope::View);

// JSON numbers that print as the program's own number texts ("117", "-70.2",
// "1e-05"): whole numbers go in as integers, the rest as the double they name.
// nlohmann's shortest-double writer gives up on about one text in a thousand
// (3.8966866 comes out as 3.8966865999999998): such a value goes in as a
// placeholder that Dump puts the text back into.
class JsonNumbers {
 public:
  nlohmann::ordered_json Number(const std::string& text);
  std::string Dump(const nlohmann::ordered_json& document) const;

 private:
  std::vector<std::string> kept_;
};

int RunInfo(Args& args);
int RunExport(Args& args);
int RunPoints(Args& args);
int RunSlots(Args& args);
int RunStats(Args& args);
int RunEvents(Args& args);
int RunScan(Args& args);
int RunDownload(Args& args);
int RunSetParams(Args& args);
// Runs accelog-cli-qt with the same command line: the commands that draw.
int RunInQtHelper(Args& args);
// In accelog-cli-qt.
int RunRender(Args& args);
int RunLive(Args& args);
int RunLiveSpectrum(Args& args);
int RunPrint(Args& args);
int RunReport(Args& args);
int RunSpectrum(Args& args);

}  // namespace accelog::cli
