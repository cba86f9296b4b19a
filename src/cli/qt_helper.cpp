// The commands that draw need Qt; accelog-cli hands them to accelog-cli-qt so
// that every other command starts without loading it.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "cli/cli.h"

namespace accelog::cli {

int RunInQtHelper(Args& args) {
  constexpr const char* kHelper = "accelog-cli-qt";
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  // Next to accelog-cli in the build tree, in libexec when installed.
  std::string tried;
  for (const auto& dir : {self.parent_path(), self.parent_path() / ".." / "libexec" / "accelog"}) {
    const std::string helper = (dir / kHelper).string();
    if (ec || ::access(helper.c_str(), X_OK) != 0) continue;
    args.argv[0] = const_cast<char*>(helper.c_str());
    ::execv(helper.c_str(), args.argv);
    tried = helper + ": " + std::strerror(errno);
    break;
  }
  if (tried.empty()) tried = std::string(kHelper) + " not found next to " + self.string() + " or in ../libexec/accelog";
  std::fprintf(stderr, "accelog-cli: cannot run the drawing commands: %s\n", tried.c_str());
  return kExitFailed;
}

}  // namespace accelog::cli
