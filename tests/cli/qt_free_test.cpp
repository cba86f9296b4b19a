// accelog-cli starts without Qt; the drawing commands reach accelog-cli-qt
// next to it or in ../libexec/accelog.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

TEST(QtFree, OnlyTheDrawingHelperLinksQt) {
  for (const auto& [binary, qt] : {std::pair{ACCELOG_CLI, false}, std::pair{ACCELOG_CLI_QT, true}}) {
    const std::string needed = testing::RunProgram({"/usr/bin/readelf", "-d", binary}).out;
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
  testing::RunResult r = testing::RunProgram({cli, "render"});
  EXPECT_NE(r.err.find("accelog-cli-qt not found"), std::string::npos) << r.err;
  EXPECT_EQ(r.code, 1);
  fs::create_directories(root / "libexec/accelog");
  fs::copy_file(ACCELOG_CLI_QT, root / "libexec/accelog/accelog-cli-qt");
  // The helper's own usage error: it ran, with the same words.
  r = testing::RunProgram({cli, "render", "one-word"});
  EXPECT_NE(r.err.find("usage: accelog-cli render"), std::string::npos) << r.err;
  EXPECT_EQ(r.code, 64);
}

}  // namespace
}  // namespace accelog
