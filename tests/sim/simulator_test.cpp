// The simulated logger seen through the program's own socket transport.
#include <gtest/gtest.h>

#include <filesystem>

#include "device/transport.h"
#include "sim/logger.h"
#include "sim/recording.h"
#include "sim/simulator.h"
#include "support/kvx_builder.h"
#include "support/temp_folder.h"

namespace accelog::sim {
namespace {

using accelog::testing::TempFolder;

class SimulatorTest : public ::testing::Test {
 protected:
  void Start(uint32_t samples) {
    sim_ = std::make_unique<Simulator>(MakeRecording(samples, 5), SimulatorOptions{});
    std::string error;
    ASSERT_TRUE(sim_->Start(Path(), &error)) << error;
  }
  // A client on the logger's socket; nullptr when it cannot connect.
  std::unique_ptr<Transport> Connect() const {
    auto t = MakeTransport("sim:" + Path());
    const auto paths = t->EnumeratePaths();
    return paths.size() == 1 && t->Open(paths[0]) ? std::move(t) : nullptr;
  }
  static void Send(Transport& t, const Packet& f) { ASSERT_TRUE(t.Write(f.data(), static_cast<int>(f.size()))); }
  // The next packet within `waits` reads, empty if none.
  static Packet Receive(Transport& t, int waits = 10) {
    uint8_t buf[4096];
    int n = 0;
    for (int i = 0; i < waits && n == 0; ++i) n = t.Read(buf, sizeof buf, kReadWaitMs);
    return n <= 0 ? Packet{} : Packet(buf, buf + n);
  }
  std::string Path() const { return folder_.File("s.sock"); }
  TempFolder folder_;
  std::unique_ptr<Simulator> sim_;
};

// Repeatable recordings and the head's count: every download and live test.
TEST(Recording, LoadsAKvxFileCuttingATornSample) {
  TempFolder folder;
  auto file = accelog::testing::KvxImage({.interval = 0xF4}, accelog::testing::Wave(4));
  file.resize(file.size() - 2);  // a torn fourth sample
  accelog::testing::WriteBytes(folder.File("in.kvx"), file);
  Recording r;
  ASSERT_TRUE(LoadRecording(folder.File("in.kvx"), r));
  EXPECT_EQ(r.Count(), 3u);
  EXPECT_EQ(r.head[1], 0xF4);
  EXPECT_EQ(r.head[12], 3);
  std::string error;
  EXPECT_FALSE(LoadRecording(folder.File("missing.kvx"), r, &error));
  EXPECT_FALSE(error.empty());
}

// What the engine and program tests do not reach: a damaged frame or an
// unknown command gets no answer, and the next good one is answered. A
// stopped logger leaves no socket behind (an unplugged one: SocketTest.Unplug*).
TEST_F(SimulatorTest, AnswersOnlyGoodFramesAndStopRemovesTheSocket) {
  Start(17);
  const auto c = Connect();
  ASSERT_TRUE(c);
  Packet bad = MakeFrame(0x12);
  bad[13] ^= 1;
  Send(*c, bad);
  Send(*c, MakeFrame(0x77));
  EXPECT_TRUE(Receive(*c, 1).empty());
  Send(*c, MakeFrame(0x12));
  EXPECT_EQ(Receive(*c), MakeFrame(0x92));
  sim_->Stop();
  EXPECT_FALSE(std::filesystem::exists(Path()));
}

}  // namespace
}  // namespace accelog::sim
