#pragma once
// The single-instance guard: a lock file keyed to the program folder, held
// for as long as the object lives. A lock left behind by a crashed copy is
// recognised as stale and taken over.

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock {
 public:
  // The lock for the copy in `programFolder`, or nullptr when another copy
  // holds it.
  static std::unique_ptr<InstanceLock> Acquire(const QString& programFolder);

  // Where the lock lives: beside the program, or in the temporary folder
  // (named after the program folder) when the program folder is read-only.
  static QString LockPath(const QString& programFolder);
  static QString FallbackLockPath(const QString& programFolder);

 private:
  explicit InstanceLock(const QString& path);
  QLockFile file_;
};
