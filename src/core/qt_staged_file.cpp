#include "core/qt_staged_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace accelog {
namespace {

// Writes straight to a descriptor and keeps the first failure: QFile forgets
// a failed write at its next write or close, and says nothing of a short one.
class DescriptorDevice : public QIODevice {
 public:
  explicit DescriptorDevice(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  ~DescriptorDevice() override { ::close(fd_); }
  const std::string& failure() const { return failure_; }
  // The close, whose failure is a lost write too.
  void Close() {
    if (::close(fd_) != 0 && failure_.empty()) failure_ = std::strerror(errno);
    fd_ = -1;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (!failure_.empty()) return -1;
    for (qint64 left = size; left > 0;) {
      const ssize_t n = ::write(fd_, data, static_cast<size_t>(left));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        failure_ = n < 0 ? std::strerror(errno) : "nothing could be written";
        return -1;
      }
      data += n;
      left -= n;
    }
    return size;
  }

 private:
  int fd_;
  std::string failure_;
};

}  // namespace

std::string WriteStagedQtFile(const std::string& path, const std::function<QString(QIODevice&)>& write,
                              const WholeFileCheck& check) {
  std::string staged, reason;
  const int fd = CreateStagedFile(path, staged, reason);
  if (fd < 0) return reason;
  DescriptorDevice device(fd);
  const QString error = write(device);
  device.Close();
  // The system's reason first: a writer that met it only says it failed.
  if (!device.failure().empty()) reason = path + ": " + device.failure();
  else if (!error.isEmpty()) reason = path + ": " + error.toStdString();
  return FinishStagedFile(staged, path, reason.empty(), check, reason) ? std::string() : reason;
}

}  // namespace accelog
