// The real program started twice from the same folder on a real X server:
// the second copy shows its one message and ends, and the first copy's trace
// is left as it was.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

#include "capture/x11/x11_window_system.h"
#include "support/temp_folder.h"
#include "x11_practice_game.h"

namespace {

void CopyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  const QDir source(from);
  for (const QString& name : source.entryList(QDir::Files)) QFile::copy(source.filePath(name), to + "/" + name);
}

// A copy of the program in a folder of its own, so the build folder keeps
// no settings, trace or lock.
QString InstallProgram(const TempFolder& folder) {
  const QString program = folder.File(QStringLiteral("Tallymeter"));
  QFile::copy(QStringLiteral(TALLYMETER_BIN_DIR "/Tallymeter"), program);
  QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
  CopyFolder(QStringLiteral(TALLYMETER_BIN_DIR "/system"), folder.File(QStringLiteral("system")));
  CopyFolder(QStringLiteral(TALLYMETER_BIN_DIR "/system"), folder.File(QStringLiteral("Pattern")));
  return program;
}

TEST(AppSingleInstance, ASecondCopyShowsOneMessageEndsAndLeavesTheFirstCopysTraceAlone) {
  std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  const QString program = InstallProgram(folder);

  QProcess first;
  first.start(program, {});
  ASSERT_TRUE(first.waitForStarted(10000));
  ASSERT_TRUE(WaitUntil([&] { return folder.Read(QStringLiteral("debug.txt")).contains(" All Form Loading"); }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return x11->FindWindowByTitle(QStringLiteral("Tallymeter  For MapleStory")) != 0; }));
  const QByteArray trace = folder.Read(QStringLiteral("debug.txt"));

  QProcess second;
  second.start(program, {});
  ASSERT_TRUE(second.waitForStarted(10000));
  WindowId box = 0;
  ASSERT_TRUE(WaitUntil([&] { return (box = x11->FindWindowByTitle(QStringLiteral("エラー"))) != 0; }, 30000))
      << "the second copy showed no message";
  Activate(box);
  RunTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
  ASSERT_TRUE(second.waitForFinished(30000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 1);

  EXPECT_EQ(folder.Read(QStringLiteral("debug.txt")), trace);
  EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("debugBackUp.txt"))));
  EXPECT_EQ(first.state(), QProcess::Running);
  first.terminate();
  first.waitForFinished(10000);
}

}  // namespace
