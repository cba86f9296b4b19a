#include "core/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace accelog {

std::string ProgramPath;

std::string DefaultProgramFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return std::string(xdg) + "/accelog";
  const char* home = std::getenv("HOME");
  std::string base = (home && *home) ? home : "/tmp";
  return base + "/.local/share/accelog";
}

bool InitProgramFolder(const std::string& folder) {
  ProgramPath = folder.empty() ? DefaultProgramFolder() : folder;
  while (ProgramPath.size() > 1 && ProgramPath.back() == '/') ProgramPath.pop_back();
  std::error_code ec;
  std::filesystem::create_directories(ProgramPath, ec);
  return std::filesystem::is_directory(ProgramPath, ec);
}

std::string ProgramFile(const std::string& name) {
  if (ProgramPath.empty()) InitProgramFolder();
  return ProgramPath + "/" + name;
}

}  // namespace accelog
