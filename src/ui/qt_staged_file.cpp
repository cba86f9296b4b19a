#include "ui/qt_staged_file.h"

#include <unistd.h>

#include <QBuffer>
#include <cerrno>
#include <cstring>

namespace accelog {
namespace {

// Every byte to the descriptor, then its close; the first failure's reason,
// empty when all went in.
std::string WriteAll(int fd, const QByteArray& bytes) {
  std::string failure;
  const char* data = bytes.constData();
  for (qint64 left = bytes.size(); left > 0 && failure.empty();) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failure = n < 0 ? std::strerror(errno) : "nothing could be written";
      break;
    }
    data += n;
    left -= n;
  }
  if (::close(fd) != 0 && failure.empty()) failure = std::strerror(errno);
  return failure;
}

}  // namespace

std::string WriteStagedQtFile(const std::string& path, const std::function<QString(QIODevice&)>& write,
                              const WholeFileCheck& check) {
  // Qt's writers fill memory, where they cannot fail half way: libpng, for
  // one, gives up on a failed write by a jump that leaks Qt's image copy.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (const QString error = write(buffer); !error.isEmpty()) return path + ": " + error.toStdString();
  const StagedFile staged = CreateStagedFile(path);
  if (staged.fd < 0) return staged.result.message;
  Result written;
  if (const std::string failure = WriteAll(staged.fd, buffer.data()); !failure.empty()) {
    written = Result::Failed(path + ": " + failure);
  }
  return FinishStagedFile(staged.name, path, written, check).message;
}

}  // namespace accelog
