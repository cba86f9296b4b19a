// accelog-cli starts without Qt; the drawing commands reach accelog-cli-qt
// next to it or in ../libexec/accelog.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace accelog {
namespace {

// stdout and stderr of a shell command, and its exit code.
std::string Output(const std::string& command, int* code = nullptr) {
  std::string out;
  std::FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  char buf[4096];
  while (p && std::fgets(buf, sizeof buf, p)) out += buf;
  const int status = p ? ::pclose(p) : -1;
  if (code) *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

TEST(QtFree, OnlyTheDrawingHelperLinksQt) {
  for (const auto& [binary, qt] : {std::pair{ACCELOG_CLI, false}, std::pair{ACCELOG_CLI_QT, true}}) {
    const std::string needed = Output(std::string("readelf -d ") + binary);
    ASSERT_NE(needed.find("NEEDED"), std::string::npos) << needed;
    EXPECT_EQ(needed.find("libQt6") != std::string::npos, qt) << binary;
  }
}

TEST(QtFree, RenderFindsTheHelperWhereInstalled) {
  namespace fs = std::filesystem;
  testing::TempFolder folder;
  const fs::path root = folder.path();
  fs::create_directories(root / "bin");
  fs::copy_file(ACCELOG_CLI, root / "bin/accelog-cli");
  const std::string cli = (root / "bin/accelog-cli").string();
  int code = 0;
  EXPECT_NE(Output(cli + " render", &code).find("accelog-cli-qt not found"), std::string::npos);
  EXPECT_EQ(code, 1);
  fs::create_directories(root / "libexec/accelog");
  fs::copy_file(ACCELOG_CLI_QT, root / "libexec/accelog/accelog-cli-qt");
  // The helper's own usage error: it ran, with the same words.
  EXPECT_NE(Output(cli + " render one-word", &code).find("usage: accelog-cli render"), std::string::npos);
  EXPECT_EQ(code, 64);
}

}  // namespace
}  // namespace accelog
