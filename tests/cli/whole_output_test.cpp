// Every accelog-cli command that writes a file, cut off by a file-size limit
// and by a full file system: it fails, names the file and the reason, and
// leaves under the name nothing, or whole samples with a head that counts them.
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

#include "cli_fixture.h"
#include "support/kvx_builder.h"
#include "support/run_program.h"

namespace accelog::testing {
namespace {

// One line of stdout or stderr names both.
bool LineSays(const RunResult& r, const std::string& file, const std::string& reason) {
  std::istringstream in(r.out + r.err);
  for (std::string line; std::getline(in, line);) {
    if (line.find(file) != std::string::npos && line.find(reason) != std::string::npos) return true;
  }
  return false;
}

// What may stay under the name after a failure.
enum class Left {
  Nothing,        // staged outputs
  WholeSamples,   // a live capture: whole samples and a head that counts them, or nothing
  Announced,      // a download: whole samples under the logger's count, so it opens as unfinished
  OldParameters,  // set-params: the parameter file as it was
};

struct Command {
  const char* name;
  std::vector<std::string> args;  // OUT, IN, DEV and DATA stand for paths
  const char* out;                // the file written, in the test folder
  Left left;
};

void PrintTo(const Command& c, std::ostream* os) { *os << c.name; }

// c's command line, its OUT in out_dir, the rest in folder.
std::vector<std::string> CommandLine(const Command& c, const std::string& folder, const std::string& out_dir,
                                     const std::string& device) {
  std::vector<std::string> args = {ACCELOG_CLI};
  for (const std::string& a : c.args) {
    if (a == "OUT") args.push_back(out_dir + "/" + c.out);
    else if (a == "IN") args.push_back(folder + "/in.kvx");
    else if (a == "DEV") args.push_back(device);
    else if (a.rfind("DATA", 0) == 0) args.push_back(folder + "/" + a.substr(4));
    else args.push_back(a);
  }
  return args;
}

const Command kCommands[] = {
    {"export-txt", {"export", "IN", "OUT"}, "x.txt", Left::Nothing},
    {"export-xlsx", {"export", "IN", "OUT"}, "x.xlsx", Left::Nothing},
    {"export-csv", {"export", "IN", "OUT"}, "x.csv", Left::Nothing},
    {"render", {"render", "IN", "OUT"}, "r.png", Left::Nothing},
    {"print", {"print", "IN", "OUT"}, "p.pdf", Left::Nothing},
    {"report", {"report", "IN", "OUT"}, "rep.pdf", Left::Nothing},
    {"live",
     {"--device", "DEV", "live", "OUT", "--interval", "500", "--unit", "ms", "--limit", "3", "--limit-kind",
      "count"},
     "lv.kvx",
     Left::WholeSamples},
    {"live-spectrum", {"--device", "DEV", "live-spectrum", "DATAsp", "--sets", "1"}, "spFrequency.Kvx", Left::Nothing},
    {"set-params", {"--device", "DEV", "set-params", "--interval", "300"}, "data/accelog/MPInteger.kvx",
     Left::OldParameters},
    // Last: on the full file system its partial file takes the space left.
    {"download", {"--device", "DEV", "download", "OUT"}, "dl.kvx", Left::Announced},
};

// What a failed run of c left under out; a download's head keeps the logger's count.
void ExpectLeft(const Command& c, const std::string& out, const std::vector<unsigned char>& before, uint32_t announced) {
  const bool there = std::filesystem::exists(out);
  switch (c.left) {
    case Left::Nothing: EXPECT_FALSE(there); break;
    case Left::OldParameters: EXPECT_TRUE(ReadBytes(out) == before); break;
    case Left::WholeSamples:
    case Left::Announced:
      if (!there) break;
      const auto file = ReadBytes(out);
      ASSERT_GE(file.size(), 19u);
      EXPECT_EQ((file.size() - 19) % 6, 0u) << file.size();
      EXPECT_EQ(HeadCount(file), c.left == Left::Announced ? announced : (file.size() - 19) / 6);
      break;
  }
  // No staged file stays behind either.
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(out).parent_path()))
    EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << e.path();
}

class WholeOutputTest : public CliDeviceTest, public ::testing::WithParamInterface<Command> {
 protected:
  void SetUp() override {
    CliDeviceTest::SetUp();
    WriteBytes(folder_.File("in.kvx"), KvxImage(KvxHead{.count = 1000}, Wave(1000)));
  }
  std::vector<std::string> Args() const { return CommandLine(GetParam(), folder_.path(), folder_.path(), "sim:" + Socket()); }
  std::string Out() const { return folder_.File(GetParam().out); }
};

// First bytes, the middle and the very last byte fail to go in.
TEST_P(WholeOutputTest, FileSizeLimitFailsTheCommandAndNamesTheFile) {
  auto sim = StartSim({"--samples", "100"});
  const RunResult whole = RunProgram(Args());
  ASSERT_EQ(whole.code, 0) << whole.err;
  const size_t size = ReadBytes(Out()).size();
  ASSERT_GT(size, 20u);
  // set-params: other values already stored, which a failed save must leave.
  auto before = ReadBytes(Out());
  before[2] ^= 0x0F;
  for (rlim_t limit : {rlim_t{10}, rlim_t{size / 2}, rlim_t{size - 1}}) {
    SCOPED_TRACE(limit);
    if (GetParam().left == Left::OldParameters) WriteBytes(Out(), before);
    else std::filesystem::remove(Out());
    const RunResult cut = RunProgram(Args(), limit);
    EXPECT_EQ(cut.code, 1) << cut.err;
    // live saves its parameters first: a limit may stop it there.
    const std::string live_parameters = std::string(GetParam().name) == "live" ? "MPInteger.kvx" : Out();
    EXPECT_TRUE(LineSays(cut, Out(), "File too large") || LineSays(cut, live_parameters, "File too large")) << cut.err;
    ExpectLeft(GetParam(), Out(), before, 100);
  }
}

// A small tmpfs with 4 KiB left, where the tests may mount one (root, no
// seccomp filter in the way); then the same file system read-only.
TEST_F(CliDeviceTest, FullAndReadOnlyFileSystemsAreNamedAsTheReason) {
  const std::string mount = folder_.File("small");
  std::filesystem::create_directory(mount);
  if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno)
                 << "): the file-size limit test stands for the full disk";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{mount};
  const std::string in = folder_.File("in.kvx");
  WriteBytes(in, KvxImage(KvxHead{.count = 1000}, Wave(1000)));
  std::filesystem::space_info space = std::filesystem::space(mount);
  WriteBytes(mount + "/filler", std::vector<unsigned char>(space.available - 4096, 1));
  ASSERT_EQ(std::filesystem::space(mount).available, 4096u);

  auto sim = StartSim({"--samples", "1000"});
  const std::string device = "sim:" + Socket();
  for (const Command& c : kCommands) {
    // live's three samples fit in 4 KiB; the others write no OUT of their own.
    if (c.left == Left::WholeSamples || std::ranges::find(c.args, "OUT") == c.args.end()) continue;
    const std::string out = mount + "/" + c.out;
    SCOPED_TRACE(out);
    const RunResult r = RunProgram(CommandLine(c, folder_.path(), mount, device));
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_TRUE(LineSays(r, out, "No space left on device") || LineSays(r, out, "not enough free space")) << r.err;
    EXPECT_TRUE(c.left != Left::Announced || ReadBytes(out).size() >= 19u + 6);  // the space taken
    ExpectLeft(c, out, {}, 1000);
  }
  std::filesystem::remove(mount + "/dl.kvx");
  ASSERT_EQ(::mount(nullptr, mount.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0) << std::strerror(errno);
  for (const char* name : {"/y.txt", "/y.xlsx", "/y.csv"}) {
    const RunResult r = RunProgram({ACCELOG_CLI, "export", in, mount + name});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(LineSays(r, mount + name, "Read-only file system")) << r.err;
  }
}

// A name that is not UTF-8 is written as its bytes, and named so.
TEST_F(CliDeviceTest, OutputNamesAreTheirBytes) {
  const std::string in = folder_.File("in.kvx");
  WriteBytes(in, KvxImage(KvxHead{.count = 300}, Wave(300)));
  for (const char* name : {"bad\xff.png", "bad\xfe.pdf"}) {
    const std::string out = folder_.File(name);
    const RunResult r = RunProgram({ACCELOG_CLI, out.ends_with(".png") ? "render" : "print", in, out});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(out)) << r.err;
    EXPECT_NE((r.out + r.err).find(out + ": "), std::string::npos) << r.out << r.err;
  }
  // Nothing under a name with the bytes replaced (U+FFFD).
  for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
    EXPECT_EQ(e.path().string().find("\xEF\xBF\xBD"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WholeOutputTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           std::replace(n.begin(), n.end(), '-', '_');
                           return n;
                         });

}  // namespace
}  // namespace accelog::testing
