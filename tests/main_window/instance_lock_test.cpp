#include <QFile>
#include <QLockFile>
#include <QSysInfo>
#include <gtest/gtest.h>

#include "main_window/instance_lock.h"
#include "support/temp_folder.h"

TEST(InstanceLock, ASecondCopyOfTheSameFolderIsRefusedUntilTheFirstEnds) {
  TempFolder folder;
  TempFolder other;
  auto first = InstanceLock::Acquire(folder.Path());
  ASSERT_TRUE(first);
  EXPECT_FALSE(InstanceLock::Acquire(folder.Path()));
  // Another installation is another program.
  EXPECT_TRUE(InstanceLock::Acquire(other.Path()));
  first.reset();
  EXPECT_TRUE(InstanceLock::Acquire(folder.Path()));
}

TEST(InstanceLock, ALockLeftByACrashedCopyDoesNotBlockTheNextStart) {
  TempFolder folder;
  // The lock of a process that no longer runs, written as QLockFile writes it.
  const QByteArray stale = "2147483600\nTallymeter\n" + QSysInfo::machineHostName().toUtf8() + "\n";
  folder.Write(QStringLiteral("Tallymeter.lock"), stale);
  EXPECT_TRUE(InstanceLock::Acquire(folder.Path()));
}

TEST(InstanceLock, AnOldLockOfARunningCopyIsNotStale) {
  TempFolder folder;
  auto first = InstanceLock::Acquire(folder.Path());
  ASSERT_TRUE(first);
  // Age alone must never let a second copy in.
  QFile lockFile(InstanceLock::LockPath(folder.Path()));
  ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
  ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
  lockFile.close();
  EXPECT_FALSE(InstanceLock::Acquire(folder.Path()));
}

TEST(InstanceLock, AFolderThatCannotHoldTheLockIsGuardedFromTheTemporaryFolder) {
  TempFolder folder;
  const QString unwritable = folder.File(QStringLiteral("no/such/folder"));
  auto first = InstanceLock::Acquire(unwritable);
  ASSERT_TRUE(first);
  EXPECT_TRUE(QFile::exists(InstanceLock::FallbackLockPath(unwritable)));
  EXPECT_FALSE(InstanceLock::Acquire(unwritable));
  first.reset();
  EXPECT_FALSE(QFile::exists(InstanceLock::FallbackLockPath(unwritable)));
}
