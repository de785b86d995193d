#include "persistence/debug_trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "persistence/text_file.h"
#include "support/temp_folder.h"

namespace {

const QDateTime kMorning(QDate(2026, 12, 6), QTime(5, 58, 46));

QByteArray Line(const QString& text) { return EncodeCp932(text) + "\r\n"; }

DebugTrace TraceIn(const QString& folder) {
  return DebugTrace(folder, [] { return kMorning; });
}

}  // namespace

TEST(DebugTrace, GeneralDateHasNoLeadingZeroOnTheHour) {
  EXPECT_EQ(GeneralDateText(kMorning), QStringLiteral("2026/12/06 5:58:46"));
  EXPECT_EQ(GeneralDateText(QDateTime(QDate(2027, 1, 2), QTime(15, 4, 5))), QStringLiteral("2027/01/02 15:04:05"));
  EXPECT_EQ(GeneralDateText(QDateTime(QDate(2027, 1, 2), QTime(0, 0, 0))), QStringLiteral("2027/01/02 0:00:00"));
}

TEST(DebugTrace, FirstStartMakesNoBackupAndSecondStartKeepsThePreviousRun) {
  TempFolder tmp;
  const DebugTrace trace = TraceIn(tmp.Path());
  trace.Begin(QStringLiteral(" Starting Program･･･Ver.0.21"));
  const QByteArray firstStart = Line(QStringLiteral("2026/12/06 5:58:46 Starting Program･･･Ver.0.21"));
  EXPECT_EQ(tmp.Read("debug.txt"), firstStart);
  EXPECT_FALSE(QFileInfo::exists(trace.BackupPath()));

  trace.Event(QStringLiteral(" End of Program "));
  const QByteArray firstRun = firstStart + Line(QStringLiteral("2026/12/06 5:58:46 End of Program "));
  EXPECT_EQ(tmp.Read("debug.txt"), firstRun);

  tmp.Write("debugBackUp.txt", "older run\r\n");
  trace.Begin(QStringLiteral(" Starting Program･･･Ver.0.21"));
  EXPECT_EQ(tmp.Read("debugBackUp.txt"), firstRun);
  EXPECT_EQ(tmp.Read("debug.txt"), firstStart);

  // A backup that cannot be replaced must not cost the previous run's trace.
  ASSERT_TRUE(QFile::remove(trace.BackupPath()));
  QDir(tmp.Path()).mkpath("debugBackUp.txt");
  trace.Begin(QStringLiteral(" again"));
  EXPECT_EQ(tmp.Read("debug.txt"), firstStart + Line(QStringLiteral("2026/12/06 5:58:46 again")));
}

TEST(DebugTrace, AppendsInCallOrderAndRecreatesAVanishedTrace) {
  TempFolder tmp;
  const DebugTrace trace = TraceIn(tmp.Path());
  trace.Write(QStringLiteral("one"));
  EXPECT_EQ(tmp.Read("debug.txt"), QByteArray("one\r\n"));
  EXPECT_FALSE(QFileInfo::exists(trace.BackupPath()));
  trace.Write(QStringLiteral("two\r\nthree"));
  trace.Write(QStringLiteral("four"), QStringLiteral("init"));  // only "INIT" starts anew
  EXPECT_EQ(tmp.Read("debug.txt"), QByteArray("one\r\ntwo\r\nthree\r\nfour\r\n"));

  ASSERT_TRUE(QFile::remove(trace.TracePath()));
  trace.Event(QStringLiteral(" Loging Start･･･ "));
  EXPECT_EQ(tmp.Read("debug.txt"), Line(QStringLiteral("2026/12/06 5:58:46 Loging Start･･･ ")));
  EXPECT_FALSE(QFileInfo::exists(trace.BackupPath()));
}

TEST(DebugTrace, AnUnwritableTraceIsSilentlyIgnored) {
  TempFolder tmp;
  tmp.Write("afile", "x");
  const DebugTrace nowhere = TraceIn(tmp.File("afile/sub"));
  nowhere.Begin(QStringLiteral(" Starting Program･･･Ver.0.21"));
  nowhere.Event(QStringLiteral(" End of Program "));
  const DebugTrace inProc = TraceIn(QStringLiteral("/proc/self"));
  inProc.Begin(QStringLiteral(" x"));
  inProc.Event(QStringLiteral(" x"));
  EXPECT_EQ(tmp.Read("afile"), QByteArray("x"));

  // A trace file that is a folder can be neither backed up nor written.
  QDir(tmp.Path()).mkpath("prog/debug.txt");
  const DebugTrace blocked = TraceIn(tmp.File("prog"));
  blocked.Begin(QStringLiteral(" x"));
  blocked.Event(QStringLiteral(" x"));
  EXPECT_TRUE(QFileInfo(tmp.File("prog/debug.txt")).isDir());

  // Nobody reads this pipe: opening it for writing would wait forever.
  QDir(tmp.Path()).mkpath("piped");
  ASSERT_EQ(mkfifo(QFile::encodeName(tmp.File("piped/debug.txt")).constData(), 0600), 0);
  const DebugTrace piped = TraceIn(tmp.File("piped"));
  piped.Begin(QStringLiteral(" x"));
  piped.Event(QStringLiteral(" x"));
}
