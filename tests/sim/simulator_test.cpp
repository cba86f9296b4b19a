// The simulated logger seen from a plain socket client.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "sim/logger.h"
#include "sim/recording.h"
#include "sim/simulator.h"
#include "support/temp_folder.h"

namespace accelog::sim {
namespace {

using accelog::testing::TempFolder;

class Client {
 public:
  explicit Client(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_SEQPACKET, 0)) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path.c_str());
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  ~Client() { ::close(fd_); }
  bool connected() const { return connected_; }
  void SendBytes(const Packet& f) { ASSERT_EQ(::send(fd_, f.data(), f.size(), MSG_NOSIGNAL), ssize_t(f.size())); }
  void Send(uint8_t control, std::vector<uint8_t> data = {}) { SendBytes(MakeFrame(control, data)); }
  // The next packet, empty after wait_ms; `closed` when the peer has gone.
  Packet Receive(int wait_ms = 1000, bool* closed = nullptr) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, wait_ms) <= 0) return {};
    uint8_t buf[4096];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0 && closed) *closed = true;
    return n <= 0 ? Packet{} : Packet(buf, buf + n);
  }

 private:
  int fd_;
  bool connected_ = false;
};

class SimulatorTest : public ::testing::Test {
 protected:
  void Start(uint32_t samples, SimulatorOptions options = {}) {
    sim_ = std::make_unique<Simulator>(MakeRecording(samples, 5), options);
    std::string error;
    ASSERT_TRUE(sim_->Start(Path(), &error)) << error;
  }
  std::string Path() const { return folder_.File("s.sock"); }
  TempFolder folder_;
  std::unique_ptr<Simulator> sim_;
};

TEST(Recording, RepeatableAndFromAKvxFile) {
  const Recording a = MakeRecording(3000, 9), c = MakeRecording(3000, 10);
  EXPECT_EQ(a.samples, MakeRecording(3000, 9).samples);
  EXPECT_NE(a.samples, c.samples);
  EXPECT_EQ((std::vector<uint8_t>(a.head.begin() + 9, a.head.begin() + 13)), (std::vector<uint8_t>{0, 0, 0x0B, 0xB8}));
  TempFolder folder;
  std::vector<unsigned char> file(19, 0);
  file[1] = 0xF4;
  for (int i = 0; i < 6 * 3 + 4; ++i) file.push_back(static_cast<unsigned char>(i));  // a torn fourth sample
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
// unknown command gets no answer, and the next good one is answered.
TEST_F(SimulatorTest, DamagedFramesAndUnknownCommandsGetNoAnswer) {
  Start(17);
  Client c(Path());
  ASSERT_TRUE(c.connected());
  Packet bad = MakeFrame(0x12);
  bad[13] ^= 1;
  c.SendBytes(bad);
  c.Send(0x77);
  EXPECT_TRUE(c.Receive(100).empty());
  c.Send(0x12);
  EXPECT_EQ(c.Receive(), MakeFrame(0x92));
}

TEST_F(SimulatorTest, UnplugAndStopRemoveTheSocket) {
  Start(8, {.faults = {.close_after = 1}});
  {
    Client c(Path());
    c.Send(0x12);
    c.Send(0x12);
    EXPECT_FALSE(c.Receive().empty());
    bool closed = false;
    EXPECT_TRUE(c.Receive(1000, &closed).empty());
    EXPECT_TRUE(closed);
  }
  EXPECT_TRUE(sim_->Unplugged());
  EXPECT_FALSE(std::filesystem::exists(Path()));
  // Served again on the same path, then stopped.
  Start(8);
  Client again(Path());
  again.Send(0x12);
  EXPECT_EQ(again.Receive(), MakeFrame(0x92));
  sim_->Stop();
  EXPECT_FALSE(std::filesystem::exists(Path()));
}

}  // namespace
}  // namespace accelog::sim
