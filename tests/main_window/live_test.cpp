// The main window's layout, by the rule and with the live figures, and the
// compact view.
#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QRegularExpression>
#include <QTest>

#include "base/cp932.h"
#include "dialogs/form2.h"
#include "history/sessions_file.h"
#include "main_window/compact_view.h"
#include "main_window/live_panel.h"
#include "program_fixture.h"

TEST_F(ProgramTest, TheMainWindowIsLaidOutByTheRuleAndTracesEveryResizeUnlessMinimised) {
  Start([](Settings& settings) { settings.showLivePanel = false; });
  QWidget* client = form().centralWidget();
  auto* log = Log();
  // The classic frame of an outer 600 x 500 window leaves 592 x 460 inside.
  const auto resizeClient = [&](QSize size) { form().resize(form().size() + (size - client->size())); };
  const auto resizeLines = [&] { return TraceMessages().count(QStringLiteral(" Resaizing Form ･･･End ")); };
  auto lines = resizeLines();
  resizeClient({592, 460});
  EXPECT_EQ(log->geometry(), QRect(8, 80, 576, 364));
  EXPECT_GT(resizeLines(), lines);

  // Switching debug mode in the options lays out for the outer size, without a resize line.
  resizeClient({592, 560});
  lines = resizeLines();
  form().State().debugMode = true;
  form().ApplyDebugModeLayout();
  EXPECT_EQ(std::tuple(Label("picPattern_0")->y(), Label("picPattern_10")->y(), log->height(), resizeLines()),
            std::tuple(480, 520, 384, lines));

  resizeClient({592, 460});
  EXPECT_EQ(std::pair(log->geometry(), Label("picPatternDL_1")->y()), std::pair(QRect(8, 80, 576, 284), 420));

  const QRect placed = log->geometry();
  lines = resizeLines();
  form().setWindowState(Qt::WindowMinimized);
  resizeClient({700, 600});
  EXPECT_EQ(std::pair(resizeLines(), log->geometry()), std::pair(lines, placed));
  // Restoring lays out for the size the window has now, and says so.
  form().setWindowState(Qt::WindowNoState);
  EXPECT_EQ(std::pair(resizeLines(), log->geometry()),
            std::pair(lines + 1, QRect(8, 80, client->width() - 16, client->height() - 80 - 80 - 16)));
}

// At the smallest size every control stays whole and the log keeps a
// minimum height: the rule's in the classic window, and the same few lines
// with the panel whether the option brings it or the program starts with it
// (the window's minimum grows by the panel).
TEST_F(ProgramTest, TheOptionShowsPanelAndChartAndTheSmallestWindowKeepsEveryControlWhole) {
  Start([](Settings& s) { s.showLivePanel = false; });
  auto* panel = form().findChild<LivePanel*>(QStringLiteral("panelLive"));
  auto* log = Log();
  ASSERT_TRUE(panel && log);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(log->y(), kLogTop) << "the classic window";
  const auto smallest = [&](int logHeight) {
    form().resize(100, 80);  // snapped to the minimum
    const QWidget* client = form().centralWidget();
    for (const char* name : {"cmdCapture", "cmdRecognize", "lblElapse", "lblCapture_1", "picRecognize_1"}) {
      const QWidget* control = form().findChild<QWidget*>(QString::fromLatin1(name));
      EXPECT_TRUE(control && client->rect().contains(control->geometry())) << name << " is cut off";
    }
    // The classic controls keep their design places (the two buttons share a
    // row of pixels); the live controls and the log keep clear of everything.
    const QList<QWidget*> all = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* a : std::initializer_list<QWidget*>{panel, log, form().findChild<QWidget*>("chartLive")}) {
      if (!a->isVisible()) continue;
      EXPECT_TRUE(client->rect().contains(a->geometry())) << a->objectName().toStdString();
      for (QWidget* b : all) {
        EXPECT_TRUE(a == b || !b->isVisible() || !a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " and " << b->objectName().toStdString();
      }
    }
    EXPECT_GE(log->height(), logHeight);
  };
  smallest(160);

  form().menuOption_Click();
  Form2& options = *form().OptionsDialog();
  auto* liveSampling = options.findChild<QCheckBox*>(QStringLiteral("chkLiveSampling"));
  EXPECT_TRUE(liveSampling->isChecked()) << "on by default";
  liveSampling->setChecked(false);
  EXPECT_FALSE(form().State().settings.liveSampling);
  options.findChild<QCheckBox*>(QStringLiteral("chkShowLivePanel"))->setChecked(true);
  EXPECT_TRUE(form().State().settings.showLivePanel);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_GT(log->y(), panel->geometry().bottom());
  smallest(96);
  // Started with the panel, the window's minimum leaves the log more room.
  program_.form.reset();
  program_.lock.reset();
  Start();
  panel = form().findChild<LivePanel*>(QStringLiteral("panelLive"));
  log = Log();
  smallest(96);
}

// The goal has a row of its own in the panel; the compact view shows the
// panel's figures, remembers where it was left and goes with the main
// window; the memo is one in both windows.
TEST_F(ProgramTest, TheGoalRowTheCompactViewAndTheMemoFollowTheLiveFigures) {
  Start([](Settings& s) { s.goalLevel = 101; });
  // Level 100 needs 10,223,168; the player starts half-way.
  std::int64_t exp = 5'000'000;
  OpenGame("100", QString::number(exp));
  Run();
  RunFor(10);
  auto* panel = form().findChild<LivePanel*>(QStringLiteral("panelLive"));
  panel->layout()->activate();
  const QLabel* goal = Label(QStringLiteral("lblLiveGoal"));
  EXPECT_TRUE(goal->isVisible());
  EXPECT_GT(goal->geometry().top(), Label(QStringLiteral("lblLiveActivity"))->geometry().bottom());
  EXPECT_LE(goal->geometry().bottom(), panel->contentsRect().bottom());
  EXPECT_TRUE(goal->toolTip().startsWith(QStringLiteral("目標 Lv101まで 5,223,168 Exp"))) << goal->toolTip().toStdString();

  form().menuCompact_Click();
  CompactView* view = form().Compact();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible() && (view->windowFlags() & Qt::WindowStaysOnTopHint));
  for (int tick = 0; tick < 10; ++tick) {
    OpenGame("100", QString::number(exp += 1000));
    RunFor(10);
  }
  const auto shown = [view](const char* name) { return view->findChild<QLabel*>(QLatin1String(name))->text(); };
  EXPECT_TRUE(shown("lblCompactRate").endsWith(QStringLiteral(" k/h (暫定)"))) << "two minutes of play are no ten";
  EXPECT_EQ((QStringList{shown("lblCompactRate"), shown("lblCompactToLevel"), shown("lblCompactActivity")}),
            (QStringList{Label("lblLiveShortRate")->text(), Label("lblLiveToLevel")->text(),
                         QStringLiteral("計測中・時給は稼働時間あたり")}));

  OpenGame("100", "0");  // the experience no longer reads: the panel says so and greys the rates
  RunFor(10);
  EXPECT_TRUE(Label("lblLiveActivity")->text().contains(QRegularExpression("^読取失敗 \\(\\d\\d:\\d\\dから, 経験値\\)$")));
  EXPECT_FALSE(Label("lblLiveShortRate")->isEnabled() || Label("lblLiveToLevel")->isEnabled());

  QComboBox* memo = view->MemoField();
  memo->setEditText(QStringLiteral("森 "));
  EXPECT_EQ(form().MemoField()->currentText(), QStringLiteral("森"));
  EXPECT_EQ(memo->currentText(), QStringLiteral("森 ")) << "left as typed";
  form().MemoField()->setEditText(QStringLiteral("洞窟"));
  EXPECT_EQ(memo->currentText(), QStringLiteral("洞窟"));
  EXPECT_EQ(form().Monitor().Memo(), QStringLiteral("洞窟"));

  view->move(321, 234);
  EXPECT_EQ(QPoint(form().State().settings.compactViewX, form().State().settings.compactViewY), QPoint(321, 234));
  form().menuCompact_Click();
  EXPECT_FALSE(view->isVisible());
  form().State().settings.compactViewX = 400;
  form().menuCompact_Click();
  EXPECT_EQ(view->pos().x(), 400);
  EXPECT_FALSE(view->frameGeometry().intersects(form().frameGeometry())) << "left over the main window: opens off it";
  form().close();
  EXPECT_FALSE(view->isVisible()) << "it goes with the main window";
}

// The goal's 7-day pace comes from the sessions file, read once off the
// window's thread; a measurement that ends adds its record to what was
// read, so the file emptied meanwhile is not read again.
TEST_F(ProgramTest, TheGoalsPaceIsReadOnceAndEachMeasurementEndedAddsToIt) {
  const QDateTime yesterday = clock_.Now().addDays(-1);
  ASSERT_FALSE(AppendRecord(folder_.Path(), {yesterday, yesterday.addSecs(3600), 3'600'000, 100, 100, 6'000'000,
                                             6000, 6000, "", ""}));
  Start([](Settings& s) { s.goalLevel = 101; });
  OpenGame("100", "5000000");
  Run();
  RunFor(30);  // read, and nothing gained
  const QLabel* goal = Label(QStringLiteral("lblLiveGoal"));
  const auto paced = [goal] { return !goal->toolTip().contains(QStringLiteral("7日平均で —")); };
  ASSERT_TRUE(QTest::qWaitFor(paced, 20000)) << goal->toolTip().toStdString();

  folder_.Write("log/" + kSessionsFileName, EncodeCp932(RecordHeader() + "\r\n"));
  form().menuStop_Click();
  ASSERT_EQ(ReadSessionsFile(folder_.Path()).records.size(), 1u) << "the record of no gain is kept";
  QTest::qWait(50);
  EXPECT_TRUE(paced()) << goal->toolTip().toStdString();
}
