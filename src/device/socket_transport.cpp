// The simulated logger: an AF_UNIX SOCK_SEQPACKET socket, one frame per
// packet in each direction. A closed peer makes writes fail like an
// unplugged device.
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "device/transport.h"

namespace accelog {
namespace {

class SocketTransport : public Transport {
 public:
  explicit SocketTransport(std::string socket_path) : socket_path_(std::move(socket_path)) {}
  ~SocketTransport() override { Close(); }

  std::vector<std::string> EnumeratePaths() override {
    struct stat st {};
    if (::stat(socket_path_.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return {};
    return {SimulatedDevicePath(socket_path_)};
  }

  bool Open(const std::string& path) override {
    Close();
    // The socket is whatever follows the second "#".
    const size_t first = path.find('#');
    const size_t second = first == std::string::npos ? first : path.find('#', first + 1);
    if (second == std::string::npos) return false;
    const std::string socket_path = path.substr(second + 1);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (socket_path.empty() || socket_path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, socket_path.c_str(), socket_path.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      Close();
      return false;
    }
    return true;
  }

  bool Write(const uint8_t* bytes, int n) override {
    if (fd_ < 0 || n <= 0) return false;
    ssize_t sent;
    do {
      sent = ::send(fd_, bytes, static_cast<size_t>(n), MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent == n;
  }

  int Read(uint8_t* bytes, int n, int wait_ms) override {
    if (fd_ < 0 || n <= 0) return -1;
    pollfd p{fd_, POLLIN, 0};
    int ready;
    do {
      ready = ::poll(&p, 1, std::clamp(wait_ms, 0, kReadWaitMs));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return 0;
    // One packet is one frame; what does not fit in n is dropped with it.
    const ssize_t got = ::recv(fd_, bytes, static_cast<size_t>(n), MSG_DONTWAIT);
    if (got > 0) return static_cast<int>(got);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return -1;  // the peer has gone
  }

  void Close() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  std::string socket_path_;
  int fd_ = -1;
};

}  // namespace

std::unique_ptr<Transport> MakeSocketTransport(const std::string& socket_path) {
  return std::make_unique<SocketTransport>(socket_path);
}

}  // namespace accelog
