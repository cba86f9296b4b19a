#include "ui/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace accelog {

SingleInstance::SingleInstance(const QString& folder) {
  QString dir = folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : folder;
  if (dir.isEmpty()) dir = QDir::tempPath();
  QDir().mkpath(dir);
  path_ = QDir(dir).filePath("accelog.lock");
}

bool SingleInstance::Acquire() {
  lock_ = std::make_unique<QLockFile>(path_);
  lock_->setStaleLockTime(0);  // only a dead owner makes a lock stale
  return lock_->tryLock(100);
}

}  // namespace accelog
