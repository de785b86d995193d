// The unzipped package looks and speaks like a Windows program: the native
// style, Qt's own buttons in Japanese, and a log font that lines up the
// columns. LookProbe.exe is run from the package folder, where it finds what
// Tallymeter.exe finds.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "practice_game.h"

namespace {

TEST(WindowsLook, TheNativeStyleJapaneseButtonsAndALogFontThatAligns) {
  const QString package = qEnvironmentVariable("TALLYMETER_PACKAGE_DIR");
  if (package.isEmpty()) GTEST_SKIP() << "TALLYMETER_PACKAGE_DIR names no unzipped package";
  ASSERT_TRUE(QFile::exists(package + "/Tallymeter.exe")) << package.toStdString();
  const QString probe = package + "/LookProbe.exe";
  QFile::remove(probe);
  ASSERT_TRUE(QFile::copy(BinDir() + "/LookProbe.exe", probe));
  QProcess run;
  run.start(probe, {});
  const bool ended = WaitUntil([&] { return run.state() == QProcess::NotRunning; }, 120000);
  if (!ended) run.kill();
  run.waitForFinished(20000);
  QFile::remove(probe);
  ASSERT_TRUE(ended);
  const QString out = QString::fromUtf8(run.readAllStandardOutput());
  // The console writes its line ends as CR LF.
  QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
  for (QString& line : lines) line = line.trimmed();
  EXPECT_TRUE(lines.contains("style=windowsvista")) << out.toStdString();
  // Qt's Japanese buttons may carry their keys ("はい(&Y)").
  const QStringList buttons = lines.filter(QRegularExpression("^buttons="));
  ASSERT_EQ(buttons.size(), 1) << out.toStdString();
  EXPECT_TRUE(buttons.front().contains(QStringLiteral("はい")) && buttons.front().contains(QStringLiteral("いいえ")))
      << out.toStdString();
  EXPECT_TRUE(out.contains(" aligned=1")) << out.toStdString();
}

}  // namespace
