#include "main_window/instance_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

InstanceLock::InstanceLock(const QString& path) : file_(path) {
  // Never treat a running copy's lock as stale because of its age: only a
  // lock whose process is gone may be taken over.
  file_.setStaleLockTime(0);
}

QString InstanceLock::LockPath(const QString& programFolder) {
  return programFolder + QStringLiteral("/Tallymeter.lock");
}

QString InstanceLock::FallbackLockPath(const QString& programFolder) {
  const QByteArray key = QFileInfo(programFolder).absoluteFilePath().toUtf8();
  const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
  return QDir::tempPath() + QStringLiteral("/Tallymeter-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

std::unique_ptr<InstanceLock> InstanceLock::Acquire(const QString& programFolder) {
  std::unique_ptr<InstanceLock> lock(new InstanceLock(LockPath(programFolder)));
  if (lock->file_.tryLock(0)) return lock;
  if (lock->file_.error() == QLockFile::LockFailedError) return nullptr;

  // The program folder cannot hold the lock (read-only install): key it to
  // the folder's name in the temporary folder instead.
  lock.reset(new InstanceLock(FallbackLockPath(programFolder)));
  if (lock->file_.tryLock(0)) return lock;
  if (lock->file_.error() == QLockFile::LockFailedError) return nullptr;
  // No lock can be made anywhere: refusing to start would lock the user out
  // for good, so this copy runs unguarded.
  return std::unique_ptr<InstanceLock>(new InstanceLock(FallbackLockPath(programFolder)));
}
