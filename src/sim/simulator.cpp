#include "sim/simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace accelog::sim {

Simulator::Simulator(Recording memory, SimulatorOptions options)
    : memory_(std::move(memory)),
      options_(std::move(options)),
      logger_(memory_, options_.id_text, options_.seed),
      rng_(0xD1B54A32D192ED03ull ^ (uint64_t{options_.seed} << 1 | 1)) {
  logger_.SetEarlyEnd(options_.faults.early_end);
}

Simulator::~Simulator() { Stop(); }

bool Simulator::Start(const std::string& socket_path, std::string* error) {
  Stop();
  auto fail = [&](const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    if (listen_fd_ >= 0) ::close(listen_fd_);
    listen_fd_ = -1;
    return false;
  };
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socket_path.empty() || socket_path.size() >= sizeof addr.sun_path) {
    errno = ENAMETOOLONG;
    return fail("socket path " + socket_path);
  }
  std::memcpy(addr.sun_path, socket_path.c_str(), socket_path.size() + 1);
  struct stat st {};
  if (::stat(socket_path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) ::unlink(socket_path.c_str());
  listen_fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0) return fail("socket");
  if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    return fail("bind " + socket_path);
  }
  if (::listen(listen_fd_, 4) != 0) return fail("listen");
  if (::pipe2(wake_, O_CLOEXEC) != 0) return fail("pipe");
  socket_path_ = socket_path;
  stopping_ = false;
  unplugged_ = false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void Simulator::Stop() {
  if (thread_.joinable()) {
    stopping_ = true;
    const char c = 1;
    [[maybe_unused]] ssize_t w = ::write(wake_[1], &c, 1);
    thread_.join();
  }
  for (int* fd : {&listen_fd_, &wake_[0], &wake_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  if (!socket_path_.empty() && !unplugged_) ::unlink(socket_path_.c_str());
  socket_path_.clear();
}

void Simulator::SetFaults(const Faults& faults) {
  std::lock_guard lock(mutex_);
  options_.faults = faults;
  replies_ = 0;
  history_.clear();
  logger_.SetEarlyEnd(faults.early_end);
}

long Simulator::Replies() const {
  std::lock_guard lock(mutex_);
  return replies_;
}

std::vector<SentReply> Simulator::History() const {
  std::lock_guard lock(mutex_);
  return history_;
}

std::array<uint8_t, 23> Simulator::Parameters() const {
  std::lock_guard lock(mutex_);
  return logger_.Parameters();
}

bool Simulator::ParametersSet() const {
  std::lock_guard lock(mutex_);
  return logger_.ParametersSet();
}

double Simulator::Uniform() {
  rng_ ^= rng_ >> 12;
  rng_ ^= rng_ << 25;
  rng_ ^= rng_ >> 27;
  return static_cast<double>((rng_ * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
}

void Simulator::Log(const char* what, const uint8_t* bytes, size_t n) {
  if (!options_.verbose) return;
  std::string line = what;
  char hex[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
    line += hex;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}

bool Simulator::Wait(int fd, int ms) {
  pollfd p[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
  const int n = fd >= 0 ? 2 : 1;
  pollfd* set = fd >= 0 ? p : p + 1;
  for (;;) {
    const int r = ::poll(set, static_cast<nfds_t>(n), ms);
    if (r < 0 && errno == EINTR) continue;
    return !stopping_;
  }
}

void Simulator::Run() {
  while (!stopping_) {
    if (!Wait(listen_fd_, -1)) return;
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    const bool plugged = Serve(fd);
    ::close(fd);
    if (!plugged) return;
  }
}

bool Simulator::Serve(int fd) {
  uint8_t frame[512];
  for (;;) {
    if (!Wait(fd, -1)) return true;
    const ssize_t got = ::recv(fd, frame, sizeof frame, MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (got <= 0) return true;  // the program closed the link
    Log("<-", frame, static_cast<size_t>(got));

    std::vector<Packet> replies;
    Faults faults;
    {
      std::lock_guard lock(mutex_);
      replies = logger_.Respond(std::span<const uint8_t>(frame, static_cast<size_t>(got)));
      faults = options_.faults;
    }
    if (replies.empty()) Log("-- no reply to", frame, static_cast<size_t>(got));
    for (Packet& reply : replies) {
      long n;
      bool drop, late, corrupt;
      size_t flip_at = 0;
      uint8_t flip_with = 0;
      {
        std::lock_guard lock(mutex_);
        n = replies_++;
        drop = Uniform() < faults.drop;
        late = Uniform() < faults.late;
        corrupt = Uniform() < faults.corrupt;
        flip_at = static_cast<size_t>(Uniform() * static_cast<double>(reply.size()));
        flip_with = static_cast<uint8_t>(1 + static_cast<int>(Uniform() * 255.0));
        drop = drop || std::find(faults.drop_at.begin(), faults.drop_at.end(), n) != faults.drop_at.end();
        const bool silent = (faults.stop_after >= 0 && n >= faults.stop_after) ||
                            (faults.close_after >= 0 && n >= faults.close_after);
        history_.push_back({reply, !drop && !corrupt && !silent});
      }
      if (faults.close_after >= 0 && n >= faults.close_after) {
        // Unplugged: the connection drops and the device vanishes.
        Log("-- unplugged before", reply.data(), reply.size());
        unplugged_ = true;
        ::close(listen_fd_);
        listen_fd_ = -1;
        ::unlink(socket_path_.c_str());
        return false;
      }
      if (faults.stop_after >= 0 && n >= faults.stop_after) {
        Log("-- silent", reply.data(), reply.size());
        continue;
      }
      if (drop) {
        Log("-- dropped", reply.data(), reply.size());
        continue;
      }
      if (corrupt) reply[std::min(flip_at, reply.size() - 1)] ^= flip_with;
      if (late && !Wait(-1, faults.late_ms)) return true;
      Log(corrupt ? "-> (corrupt)" : late ? "-> (late)" : "->", reply.data(), reply.size());
      if (::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) return true;
    }
  }
}

}  // namespace accelog::sim
