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
      plan_(options_.seed) {
  plan_.Set(options_.faults);
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
  plan_.Set(faults);
  history_.clear();
  logger_.SetEarlyEnd(faults.early_end);
}

long Simulator::Replies() const {
  std::lock_guard lock(mutex_);
  return plan_.Replies();
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
    {
      std::lock_guard lock(mutex_);
      replies = logger_.Respond(std::span<const uint8_t>(frame, static_cast<size_t>(got)));
    }
    if (replies.empty()) Log("-- no reply to", frame, static_cast<size_t>(got));
    for (Packet& reply : replies) {
      ReplyPlan plan;
      {
        std::lock_guard lock(mutex_);
        const Packet made = reply;
        plan = plan_.Next(reply);
        history_.push_back({made, plan.fate == ReplyFate::Send && !plan.corrupt});
      }
      if (plan.fate == ReplyFate::Unplug) {
        // Unplugged: the connection drops and the device vanishes.
        Log("-- unplugged before", reply.data(), reply.size());
        unplugged_ = true;
        ::close(listen_fd_);
        listen_fd_ = -1;
        ::unlink(socket_path_.c_str());
        return false;
      }
      if (plan.fate == ReplyFate::Silent) {
        Log("-- silent", reply.data(), reply.size());
        continue;
      }
      if (plan.fate == ReplyFate::Drop) {
        Log("-- dropped", reply.data(), reply.size());
        continue;
      }
      const bool corrupt = plan.corrupt, late = plan.delay_ms > 0;
      if (late && !Wait(-1, plan.delay_ms)) return true;
      Log(corrupt ? "-> (corrupt)" : late ? "-> (late)" : "->", reply.data(), reply.size());
      if (::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) return true;
    }
  }
}

}  // namespace accelog::sim
