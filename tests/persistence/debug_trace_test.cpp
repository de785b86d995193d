#include "persistence/debug_trace.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/temp_folder.h"

TEST(DebugTrace, EachStartKeepsThePreviousRunAndATraceThatCannotBeWrittenIsIgnored) {
  TempFolder tmp;
  const auto clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(0, 58, 46)); };
  const DebugTrace trace(tmp.Path(), clock);
  // No leading zero on the hour, counted 0 to 23; the halfwidth dots are single Shift_JIS bytes.
  const QByteArray start("2026/12/06 0:58:46 Starting Program\xa5\xa5\xa5Ver.0.21\r\n");
  trace.Begin(QStringLiteral(" Starting Program･･･Ver.0.21"));
  EXPECT_EQ(tmp.Read("debug.txt"), start);
  EXPECT_FALSE(QFileInfo::exists(trace.BackupPath()));
  trace.Event(QStringLiteral(" End of Program "));
  const QByteArray firstRun = start + "2026/12/06 0:58:46 End of Program \r\n";
  EXPECT_EQ(tmp.Read("debug.txt"), firstRun);

  trace.Begin(QStringLiteral(" Starting Program･･･Ver.0.21"));
  EXPECT_EQ(std::tuple(tmp.Read("debugBackUp.txt"), tmp.Read("debug.txt")), std::tuple(firstRun, start));

  // A trace deleted while the program runs is started again.
  ASSERT_TRUE(QFile::remove(trace.TracePath()));
  trace.Write(QStringLiteral("two\r\nthree"));
  EXPECT_EQ(tmp.Read("debug.txt"), QByteArray("two\r\nthree\r\n"));

  // No folder can be made under a file: the trace goes nowhere, without a word.
  tmp.Write("afile", "x");
  const DebugTrace nowhere(tmp.File("afile/sub"), clock);
  nowhere.Event(QStringLiteral(" End of Program "));
  EXPECT_EQ(tmp.Read("afile"), QByteArray("x"));
#ifndef _WIN32
  // Nobody reads this pipe: opening it for writing would wait forever.
  ASSERT_TRUE(QFile::remove(trace.TracePath()));
  ASSERT_EQ(mkfifo(QFile::encodeName(trace.TracePath()).constData(), 0600), 0);
  trace.Begin(QStringLiteral(" Starting Program･･･Ver.0.21"));
#endif
}

TEST(DebugTrace, AHugeTraceLeavesOnlyItsLastLinesAsTheBackupAndHeldNotesFollowTheStart) {
  TempFolder tmp;
  DebugTrace trace(tmp.Path(), [] { return QDateTime(QDate(2026, 12, 6), QTime(0, 58, 46)); });
  QByteArray huge;
  for (int i = 0; huge.size() < 3 << 20; ++i) huge += "2026/12/05 1:00:00 line " + QByteArray::number(i) + "\r\n";
  tmp.Write("debug.txt", huge);
  trace.HoldUntilBegin(QStringLiteral(" held"));
  trace.Begin(QStringLiteral(" Starting"));
  const QByteArray backup = tmp.Read("debugBackUp.txt");
  EXPECT_TRUE(backup.size() <= 1 << 20 && backup.size() > (1 << 20) - 64 && huge.endsWith("\n" + backup));
  EXPECT_EQ(tmp.Read("debug.txt"), QByteArray("2026/12/06 0:58:46 Starting\r\n2026/12/06 0:58:46 held\r\n"));
}
