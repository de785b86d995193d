#include <QDir>

#include "accounting/log_headers.h"
#include "main_window/instance_lock.h"
#include "program_fixture.h"

TEST_F(ProgramTest, StartUpLoadsEverythingInOrderAndEndsIdle) {
  Start();
  QStringList messages = TraceMessages();
  // Shown (and so laid out) before the configuration is read.
  EXPECT_EQ(messages.at(1), QStringLiteral(" Resaizing Form ･･･End "));
  messages.removeAll(QStringLiteral(" Resaizing Form ･･･End "));
  const QString table = QDir::toNativeSeparators(QStringLiteral("system/ExpTable.txt"));
  EXPECT_EQ(messages, (QStringList{" Starting Program･･･Ver.0.21", " Reading ConfigFile･･･End ",
                                   " Reading PatternFile And ChangeData･･･End ", " ExpTable read: " + table,
                                   " Creating ExpDataTable･･･End ", " All Form Loading･･･End "}));
  EXPECT_FALSE(form().IsMonitoring());
}

TEST_F(ProgramTest, ASecondCopyShowsOneMessageAndLeavesTheRunningCopysTraceAlone) {
  const auto running = InstanceLock::Acquire(folder_.Path());
  folder_.Write(QStringLiteral("debug.txt"), "2026/12/05 14:00:00 Starting Program･･･Ver.0.21\r\n");
  program_ = StartProgram(services_, folder_.Path());
  EXPECT_TRUE(program_.ended);
  EXPECT_NE(program_.exitCode, 0);
  EXPECT_EQ(boxes_.shown, (std::vector<Notice>{{"既にプログラムは起動しています。", "エラー"}}));
  EXPECT_EQ(folder_.Read(QStringLiteral("debug.txt")), "2026/12/05 14:00:00 Starting Program･･･Ver.0.21\r\n");
  EXPECT_FALSE(QFile::exists(folder_.File(QStringLiteral("debugBackUp.txt"))));
}
