#pragma once
// The simulated logger on an AF_UNIX SOCK_SEQPACKET socket, served from a
// background thread: one frame per packet each way, one connection at a
// time, with optional faults on the replies.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/faults.h"
#include "sim/logger.h"

namespace accelog::sim {

// A reply as the logger made it, and whether it went out unharmed (a late
// one did; a dropped, silenced or corrupted one did not).
struct SentReply {
  Packet frame;
  bool intact;
};

struct SimulatorOptions {
  std::string id_text = "ACCELOG-SIM1";  // 12 characters
  Faults faults;
  uint32_t seed = 1;     // the faults' and the live data's generator
  bool verbose = false;  // every frame in hex on stderr
};

class Simulator {
 public:
  explicit Simulator(Recording memory, SimulatorOptions options = {});
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Listens on socket_path (replacing a stale socket there) and serves.
  bool Start(const std::string& socket_path, std::string* error = nullptr);
  // Stops serving and removes the socket.
  void Stop();

  // New faults from now on; their reply counts start again at 0.
  void SetFaults(const Faults& faults);
  // Replies produced since the faults were set (sent, dropped or held back).
  long Replies() const;
  // Those replies, in the order they were made.
  std::vector<SentReply> History() const;
  bool Unplugged() const { return unplugged_; }

  const Recording& Memory() const { return memory_; }
  std::array<uint8_t, 23> Parameters() const;
  bool ParametersSet() const;
  const std::string& SocketPath() const { return socket_path_; }

 private:
  void Run();
  // Serves one connection until it closes; false when the logger unplugged.
  bool Serve(int fd);
  bool Wait(int fd, int ms);  // false when asked to stop
  void Log(const char* what, const uint8_t* bytes, size_t n);

  const Recording memory_;
  SimulatorOptions options_;
  mutable std::mutex mutex_;
  Logger logger_;
  FaultPlan plan_;
  std::vector<SentReply> history_;

  std::string socket_path_;
  int listen_fd_ = -1;
  int wake_[2] = {-1, -1};
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> unplugged_{false};
};

}  // namespace accelog::sim
