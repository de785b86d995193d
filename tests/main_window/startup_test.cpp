#include "dialogs/setup_guide.h"
#include "main_window/instance_lock.h"
#include "persistence/first_start.h"
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

// Only the folder with neither settings nor patterns is a first start: the
// delivered patterns go in without a word and the guide opens. A Pattern/
// folder gone from a folder that was set up is still reported.
TEST(FirstStart, SilentInstallAndTheGuideOnlyForAFolderNeverSetUp) {
  const struct {
    const char* name;
    bool config;
    bool patterns;
    bool firstStart;
    const char* box;  // the title of the first box shown, if any
  } rows[] = {
      {"nothing yet", false, false, true, ""},
      {"patterns gone later", true, false, false, "パターン読込みエラー"},
      {"settings gone, patterns kept", false, true, false, ""},
  };
  for (const auto& row : rows) {
    TempFolder folder;
    InstallPatterns(folder);
    if (!row.patterns) QDir(folder.File(QStringLiteral("Pattern"))).removeRecursively();
    Settings settings = Settings::Defaults(folder.Path());
    if (row.config) ConfigFile(QStringLiteral("SAVE"), settings, folder.Path());
    EXPECT_EQ(IsFirstStart(folder.Path()), row.firstStart) << row.name;
    FakeClock clock;
    FakeWindowSystem windows;
    OpenBoxes boxes;
    DebugTrace trace{folder.Path(), [&clock] { return clock.Now(); }};
    Services services{clock, windows, boxes, trace};
    StartedProgram program = StartProgram(services, folder.Path());
    ASSERT_FALSE(program.ended) << row.name;
    EXPECT_EQ(boxes.shown.empty() ? QString() : boxes.shown[0].title, QString::fromUtf8(row.box)) << row.name;
    EXPECT_EQ(program.form->Guide() != nullptr && program.form->Guide()->isVisible(), row.firstStart) << row.name;
    EXPECT_TRUE(QFile::exists(folder.File(QStringLiteral("Pattern/Pattern19.bmp")))) << row.name;
  }
}
