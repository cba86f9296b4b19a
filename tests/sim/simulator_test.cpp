// The simulated logger seen from a plain socket client.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
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
  explicit Client(const std::string& path) {
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path.c_str());
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  ~Client() { ::close(fd_); }
  bool connected() const { return connected_; }

  void Send(uint8_t control, std::vector<uint8_t> data = {}) {
    const Packet f = MakeFrame(control, data);
    ASSERT_EQ(::send(fd_, f.data(), f.size(), MSG_NOSIGNAL), static_cast<ssize_t>(f.size()));
  }
  // The next packet, empty after wait_ms; `closed` when the peer has gone.
  Packet Receive(int wait_ms = 1000, bool* closed = nullptr) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, wait_ms) <= 0) return {};
    uint8_t buf[4096];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0) {
      if (closed) *closed = true;
      return {};
    }
    return Packet(buf, buf + n);
  }

 private:
  friend int Fd(const Client& c);
  int fd_ = -1;
  bool connected_ = false;
};

int Fd(const Client& c) { return c.fd_; }

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

TEST(Recording, RealisticAndRepeatable) {
  const Recording a = MakeRecording(3000, 9), b = MakeRecording(3000, 9), c = MakeRecording(3000, 10);
  EXPECT_EQ(a.samples, b.samples);
  EXPECT_NE(a.samples, c.samples);
  EXPECT_EQ(a.Count(), 3000u);
  EXPECT_EQ((std::vector<uint8_t>(a.head.begin() + 9, a.head.begin() + 13)),
            (std::vector<uint8_t>{0, 0, 0x0B, 0xB8}));
  // Gravity on Z (256 counts per g), the other axes small, and motion.
  double sum[3] = {}, min_x = 1e9, max_x = -1e9;
  for (uint32_t k = 0; k < a.Count(); ++k) {
    for (int axis = 0; axis < 3; ++axis) {
      const auto* s = &a.samples[6 * k + 2 * static_cast<size_t>(axis)];
      const int16_t v = static_cast<int16_t>(s[0] | s[1] << 8);
      sum[axis] += v;
      if (axis == 0) {
        min_x = std::min<double>(min_x, v);
        max_x = std::max<double>(max_x, v);
      }
    }
  }
  EXPECT_NEAR(sum[2] / 3000, 250, 10);
  EXPECT_LT(std::fabs(sum[0] / 3000), 80);  // the slow tilt leans X
  EXPECT_LT(std::fabs(sum[1] / 3000), 40);
  EXPECT_GT(max_x - min_x, 30);
}

TEST(Recording, FromAKvxFile) {
  TempFolder folder;
  std::vector<unsigned char> file(19, 0);
  file[0] = 0x01;
  file[1] = 0xF4;
  for (int i = 0; i < 6 * 3 + 4; ++i) file.push_back(static_cast<unsigned char>(i));  // a torn fourth sample
  accelog::testing::WriteBytes(folder.File("in.kvx"), file);
  Recording r;
  ASSERT_TRUE(LoadRecording(folder.File("in.kvx"), r));
  EXPECT_EQ(r.Count(), 3u);
  EXPECT_EQ(r.head[1], 0xF4);
  EXPECT_EQ(r.head[12], 3);
  EXPECT_EQ(r.samples.size(), 18u);
  std::string error;
  EXPECT_FALSE(LoadRecording(folder.File("missing.kvx"), r, &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(SimulatorTest, AnswersEveryCommand) {
  Start(17);
  Client c(Path());
  ASSERT_TRUE(c.connected());
  c.Send(0x12);
  EXPECT_EQ(c.Receive(), MakeFrame(0x92));
  c.Send(0x11);
  const Packet id = c.Receive();
  ASSERT_EQ(id.size(), 27u);
  EXPECT_EQ(std::string(id.begin() + 13, id.begin() + 25), "ACCELOG-SIM1");

  std::vector<uint8_t> params(23);
  for (size_t i = 0; i < params.size(); ++i) params[i] = static_cast<uint8_t>(i + 1);
  c.Send(0x20, params);
  EXPECT_EQ(c.Receive(), MakeFrame(0xA0));
  ASSERT_TRUE(sim_->ParametersSet());
  EXPECT_TRUE(std::equal(params.begin(), params.end(), sim_->Parameters().begin()));

  c.Send(0x23);
  const Packet head = c.Receive();
  ASSERT_EQ(head.size(), 34u);
  EXPECT_TRUE(ValidFrame(head));
  EXPECT_TRUE(std::equal(head.begin() + 13, head.begin() + 32, sim_->Memory().head.begin()));

  // Two full blocks, a partial one, then end of data; 0x25 repeats.
  const auto& mem = sim_->Memory().samples;
  c.Send(0x24);
  Packet b1 = c.Receive();
  ASSERT_EQ(b1.size(), 63u);
  EXPECT_TRUE(std::equal(b1.begin() + 13, b1.begin() + 61, mem.begin()));
  c.Send(0x25);
  EXPECT_EQ(c.Receive(), b1);
  c.Send(0x24);
  EXPECT_TRUE(std::equal(mem.begin() + 48, mem.begin() + 96, c.Receive().begin() + 13));
  c.Send(0x24);
  const Packet last = c.Receive();
  ASSERT_EQ(last.size(), 21u);
  EXPECT_TRUE(ValidFrame(last));
  EXPECT_TRUE(std::equal(mem.begin() + 96, mem.end(), last.begin() + 13));
  c.Send(0x24);
  EXPECT_EQ(c.Receive(), MakeFrame(0xA4));

  // A new inquiry starts the readout again.
  c.Send(0x23);
  c.Receive();
  c.Send(0x24);
  EXPECT_EQ(c.Receive(), b1);

  c.Send(0x22);
  const Packet live = c.Receive();
  EXPECT_EQ(live.size(), 21u);
  EXPECT_EQ(live[11], 0xA2);
  EXPECT_TRUE(ValidFrame(live));

  c.Send(0x21);
  for (int b = 0; b < 32; ++b) {
    const Packet block = c.Receive();
    ASSERT_EQ(block.size(), 63u) << b;
    EXPECT_EQ(block[11], 0xA1);
    EXPECT_TRUE(ValidFrame(block));
  }
  EXPECT_TRUE(c.Receive(50).empty());
}

TEST_F(SimulatorTest, IgnoresMalformedFramesAndServesTheNextConnection) {
  Start(8);
  {
    Client c(Path());
    c.Send(0x77);  // unknown command
    EXPECT_TRUE(c.Receive(100).empty());
    Packet bad = MakeFrame(0x12);
    bad[13] ^= 1;  // checksum
    ASSERT_EQ(::send(Fd(c), bad.data(), bad.size(), 0), 15);
    EXPECT_TRUE(c.Receive(100).empty());
  }
  Client again(Path());
  ASSERT_TRUE(again.connected());
  again.Send(0x12);
  EXPECT_EQ(again.Receive(), MakeFrame(0x92));
}

TEST_F(SimulatorTest, Faults) {
  Start(800);
  Client c(Path());
  Faults f;
  f.corrupt = 1;
  sim_->SetFaults(f);
  for (int i = 0; i < 20; ++i) {
    c.Send(0x12);
    const Packet p = c.Receive();
    ASSERT_EQ(p.size(), 15u);
    EXPECT_FALSE(ValidFrame(p) && p[11] == 0x92) << i;
  }

  f = {};
  f.drop = 1;
  sim_->SetFaults(f);
  c.Send(0x12);
  EXPECT_TRUE(c.Receive(200).empty());
  EXPECT_EQ(sim_->Replies(), 1);

  f = {};
  f.late = 1;
  f.late_ms = 150;
  sim_->SetFaults(f);
  const auto t0 = std::chrono::steady_clock::now();
  c.Send(0x12);
  EXPECT_TRUE(c.Receive(100).empty());
  EXPECT_EQ(c.Receive(1000), MakeFrame(0x92));
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(150));

  f = {};
  f.early_end = 1;
  sim_->SetFaults(f);
  c.Send(0x23);
  c.Receive();
  c.Send(0x24);
  EXPECT_EQ(c.Receive().size(), 63u);
  c.Send(0x24);
  EXPECT_EQ(c.Receive(), MakeFrame(0xA4));

  f = {};
  f.stop_after = 2;
  sim_->SetFaults(f);
  c.Send(0x12);
  c.Send(0x12);
  c.Send(0x12);
  EXPECT_FALSE(c.Receive().empty());
  EXPECT_FALSE(c.Receive().empty());
  EXPECT_TRUE(c.Receive(200).empty());
}

TEST_F(SimulatorTest, UnplugClosesTheLinkAndTheDeviceVanishes) {
  SimulatorOptions options;
  options.faults.close_after = 2;
  Start(8, options);
  Client c(Path());
  c.Send(0x12);
  c.Send(0x12);
  c.Send(0x12);
  EXPECT_FALSE(c.Receive().empty());
  EXPECT_FALSE(c.Receive().empty());
  bool closed = false;
  EXPECT_TRUE(c.Receive(1000, &closed).empty());
  EXPECT_TRUE(closed);
  EXPECT_TRUE(sim_->Unplugged());
  EXPECT_FALSE(std::filesystem::exists(Path()));
  EXPECT_FALSE(Client(Path()).connected());
}

TEST_F(SimulatorTest, StopRemovesTheSocket) {
  Start(8);
  EXPECT_TRUE(std::filesystem::exists(Path()));
  sim_->Stop();
  EXPECT_FALSE(std::filesystem::exists(Path()));
  // And it can serve again on the same path.
  std::string error;
  ASSERT_TRUE(sim_->Start(Path(), &error)) << error;
  Client c(Path());
  c.Send(0x12);
  EXPECT_EQ(c.Receive(), MakeFrame(0x92));
}

}  // namespace
}  // namespace accelog::sim
