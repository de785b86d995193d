#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QTimer>

#include "accounting/log_headers.h"
#include "dialogs/form2.h"
#include "dialogs/form3.h"
#include "main_window/instance_lock.h"
#include "program_fixture.h"

namespace {

QStringList WithoutResizing(QStringList messages) {
  messages.removeAll(QStringLiteral(" Resaizing Form ･･･End "));
  return messages;
}

}  // namespace

using StartUp = ProgramTest;

TEST_F(StartUp, LoadsEverythingInOrderAndEndsIdle) {
  Form1& form = Start();
  EXPECT_EQ(WithoutResizing(TraceMessages()),
            (QStringList{" Starting Program･･･Ver.0.21", " Reading ConfigFile･･･End ",
                         " Reading PatternFile And ChangeData･･･End ", " Creating ExpDataTable･･･End ",
                         " All Form Loading･･･End "}));
  EXPECT_TRUE(boxes_.shown.empty());
  // Shown (and so laid out) before the configuration is read.
  EXPECT_EQ(TraceMessages().at(1), QStringLiteral(" Resaizing Form ･･･End "));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tallymeter  For MapleStory"));
  EXPECT_TRUE(form.LogText().isEmpty());
  EXPECT_FALSE(form.IsMonitoring());
  EXPECT_EQ(form.findChild<QTimer*>("timCaptureInterval")->interval(), 10000);
  EXPECT_TRUE(Action("menuRun")->isEnabled());
  EXPECT_FALSE(Action("menuStop")->isEnabled());
  ASSERT_TRUE(form.OptionsDialog() && form.PatternEditor());
  EXPECT_FALSE(form.OptionsDialog()->isVisible());
  EXPECT_EQ(form.State().fileHeader, TxtFileHeader());
}

TEST_F(StartUp, ASecondCopyShowsOneMessageAndLeavesTheRunningCopysTraceAlone) {
  auto running = InstanceLock::Acquire(folder_.Path());
  ASSERT_TRUE(running);
  folder_.Write(QStringLiteral("debug.txt"), "2026/12/05 14:00:00 Starting Program･･･Ver.0.21\r\n");
  const QByteArray before = folder_.Read(QStringLiteral("debug.txt"));

  program_ = StartProgram(services_, folder_.Path());

  EXPECT_TRUE(program_.ended);
  EXPECT_NE(program_.exitCode, 0);
  EXPECT_FALSE(program_.form);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0], (Notice{"既にプログラムは起動しています。", "エラー"}));
  EXPECT_EQ(folder_.Read(QStringLiteral("debug.txt")), before);
  EXPECT_FALSE(QFile::exists(folder_.File(QStringLiteral("debugBackUp.txt"))));
}

TEST_F(StartUp, AutoStartWithTheGameRunningBeginsMonitoringAndCapturesAfterAbout20Seconds) {
  Settings settings = DefaultSettings();
  settings.autoStart = true;
  UseSettings(settings);
  OpenGame("152", "1234567890");
  Form1& form = Start();

  EXPECT_TRUE(form.IsMonitoring());
  EXPECT_FALSE(Action("menuRun")->isEnabled());
  EXPECT_EQ(Action("menuRun")->text(), QStringLiteral("ロギング"));
  EXPECT_TRUE(Action("menuStop")->isEnabled());
  EXPECT_EQ(form.LogText(), ScreenHeader() + "\r\n");
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Log Start･･･ "));
  EXPECT_EQ(form.NextCaptureTime(), clock_.Now().addSecs(15));

  RunFor(10);
  EXPECT_TRUE(windows_.grabs.empty());
  RunFor(10);
  EXPECT_FALSE(windows_.grabs.empty());
}

TEST_F(StartUp, AutoStartWithoutTheGameShowsTheMessageAndStaysIdle) {
  Settings settings = DefaultSettings();
  settings.autoStart = true;
  UseSettings(settings);
  Form1& form = Start();
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0], (Notice{"MapleStoryが起動していません", "エラー"}));
  EXPECT_FALSE(form.IsMonitoring());
  EXPECT_TRUE(form.LogText().isEmpty());
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" All Form Loading･･･End "));
}

TEST_F(StartUp, WithoutUsablePatternsTheProgramEndsWithAFailure) {
  RemovePlayerPatterns();
  QDir(folder_.File(QStringLiteral("system"))).removeRecursively();
  program_ = StartProgram(services_, folder_.Path());
  EXPECT_TRUE(program_.ended);
  EXPECT_NE(program_.exitCode, 0);
  EXPECT_FALSE(boxes_.shown.empty());
  EXPECT_FALSE(TraceMessages().contains(QStringLiteral(" All Form Loading･･･End ")));
}

TEST_F(StartUp, ExitWritesTheLastLineAndAsksToEndAtOnce) {
  Form1& form = Start();
  int exitCode = -1;
  QObject::connect(&form, &Form1::endRequested, [&exitCode](int code) { exitCode = code; });
  form.menuEnd_Click();
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" End of Program "));
  EXPECT_FALSE(form.isVisible());
  // Nothing acts any more, not even a tick that was already queued.
  const QStringList after = TraceMessages();
  form.menuStop_Click();
  form.timCaptureInterval_Timer();
  EXPECT_EQ(TraceMessages(), after);
}

TEST_F(StartUp, TheCloseBoxEndsWithoutATraceLine) {
  Form1& form = Start();
  form.menuOption_Click();
  const QByteArray before = folder_.Read(QStringLiteral("debug.txt"));
  EXPECT_TRUE(form.close());
  EXPECT_FALSE(form.OptionsDialog() && form.OptionsDialog()->isVisible());
  EXPECT_EQ(folder_.Read(QStringLiteral("debug.txt")), before);
  EXPECT_FALSE(QFile::exists(folder_.File(QStringLiteral("TmConfig.ini.bad"))));
}
