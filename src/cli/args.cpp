// The command line as both cli programs read it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli.h"
#include "core/program_folder.h"
#include "model/numeric_text.h"

namespace accelog::cli {

std::optional<std::string> Args::TakeValue(const std::string& name) {
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == name && i + 1 < words.size()) {
      std::string v = words[i + 1];
      words.erase(words.begin() + static_cast<long>(i), words.begin() + static_cast<long>(i) + 2);
      return v;
    }
    if (words[i].rfind(name + "=", 0) == 0) {
      std::string v = words[i].substr(name.size() + 1);
      words.erase(words.begin() + static_cast<long>(i));
      return v;
    }
  }
  return std::nullopt;
}

bool Args::TakeFlag(const std::string& name) {
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == name) {
      words.erase(words.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

std::optional<std::string> Args::UnknownOption() const {
  for (const auto& w : words) {
    if (w.size() > 1 && w[0] == '-' && !(w[1] >= '0' && w[1] <= '9')) return w;
  }
  return std::nullopt;
}

std::optional<long long> ParseInteger(const std::string& text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + (text[i] - '0');
  }
  return text[0] == '-' ? -v : v;
}

std::optional<double> ParseNumber(const std::string& text) {
  if (text.empty() || text.front() == ' ' || text.back() == ' ' || text.front() == '\t' || text.back() == '\t') {
    return std::nullopt;
  }
  return NumericValue(text);
}

int UsageError(const char* usage) {
  std::fprintf(stderr, "usage: accelog-cli %s\n", usage);
  return kExitUsage;
}

std::string ShortestText(double v) {
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::string(buf, end);
}

std::string ProgramFolder() {
  if (accelog::ProgramPath.empty()) accelog::InitProgramFolder();
  return accelog::ProgramPath;
}

bool FileCanBeRead(const std::string& file) {
  struct stat st {};
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  const int error = fd < 0 ? errno : ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (fd >= 0) ::close(fd);
  if (error == 0) return true;
  std::fprintf(stderr, "accelog-cli: %s: %s\n", file.c_str(),
               error == ENOENT ? "the file does not exist" : std::strerror(error));
  return false;
}

std::unique_ptr<Transport> MakeCliTransport(const Args& args, int& exit_code) {
  auto transport = MakeTransport(args.device);
  if (!transport) {
    std::fprintf(stderr, "accelog-cli: unknown device '%s' (usb or sim:SOCKET)\n", args.device.c_str());
    exit_code = kExitUsage;
    return nullptr;
  }
  if (args.trace.empty()) return transport;
  std::string error;
  transport = MakeTracingTransport(std::move(transport), args.trace, &error);
  if (!transport) {
    std::fprintf(stderr, "accelog-cli: trace %s\n", error.c_str());
    exit_code = kExitFailed;
  }
  return transport;
}

int ReadGlobalOptions(int argc, char** argv, Args& args) {
  args.device = "usb";
  args.argv = argv;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string w = argv[i];
    if (w == "--help" || w == "-h") return -1;
    if (w == "--version") return kAskedForVersion;
    if (w == "--device" && i + 1 < argc) {
      args.device = argv[++i];
    } else if (w.rfind("--device=", 0) == 0) {
      args.device = w.substr(9);
    } else if (w == "--trace" && i + 1 < argc) {
      args.trace = argv[++i];
    } else if (w.rfind("--trace=", 0) == 0) {
      args.trace = w.substr(8);
    } else {
      break;
    }
  }
  for (int k = i + 1; k < argc; ++k) args.words.emplace_back(argv[k]);
  return i;
}

}  // namespace accelog::cli
