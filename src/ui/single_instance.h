#pragma once
// One running program per user: a lock file in the user's runtime folder.
// A lock left by a crashed run is stale (its process is gone) and is taken over.
#include <QLockFile>
#include <QString>
#include <memory>

namespace accelog {

class SingleInstance {
 public:
  // folder: where the lock lives; empty for QStandardPaths::RuntimeLocation.
  explicit SingleInstance(const QString& folder = {});
  // True when this process now holds the lock.
  bool Acquire();
  QString LockPath() const { return path_; }

 private:
  QString path_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace accelog
