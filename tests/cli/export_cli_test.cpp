// accelog-cli export as a separate program: exit codes and what is left on disk.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

TEST(ExportCliTest, ExitCodesAndFiles) {
  testing::TempFolder f;
  auto samples = testing::Wave(30);
  samples[4] = {0, 0, 0};
  testing::KvxHead h;
  h.count = 30;
  testing::WriteBytes(f.File("good.kvx"), testing::KvxImage(h, samples));
  testing::WriteBytes(f.File("bad.kvx"), {1, 2, 3});
  const std::string good = f.File("good.kvx"), out = f.File("out.csv");
  const struct {
    std::string args;
    int code;
  } cases[] = {{good + " " + out, 0},
               {good + " " + out, 1},  // exists
               {good + " " + out + " --overwrite --from 3 --to 8", 0},
               {f.File("bad.kvx") + " " + f.File("x.txt"), 2},
               {good + " " + f.File("x.pdf"), 64},
               {good + " " + f.File("y.txt") + " --from abc", 64},
               {good + " " + f.File("none/z.xlsx"), 1},
               {good + " " + f.File("folder.csv") + " --overwrite", 1}};  // never removed for the file
  std::filesystem::create_directory(f.File("folder.csv"));
  for (const auto& c : cases) {
    const int status = std::system((std::string(ACCELOG_CLI) + " export " + c.args + " 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), c.code) << c.args;
  }
  EXPECT_TRUE(std::filesystem::is_directory(f.File("folder.csv")));
  std::ifstream csv(out);
  std::vector<std::string> numbers;
  for (std::string line; std::getline(csv, line);) numbers.push_back(line.substr(0, line.find(',')));
  EXPECT_EQ(numbers, (std::vector<std::string>{"No", "3", "4", "6", "7", "8"}));
}

}  // namespace
}  // namespace accelog
