// The live meter in the whole program on fakes: readings at the ticks
// between the timed captures, what they may not touch, the state line, the
// summary at Stop, the panel option and the compact view.
#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

#include "accounting/log_headers.h"
#include "dialogs/form2.h"
#include "main_window/compact_view.h"
#include "monitoring/monitoring_cycle.h"
#include "main_window/live_panel.h"
#include "main_window/rate_chart.h"
#include "program_fixture.h"

namespace {

// Level 100 needs 10,223,168; the player starts half-way.
constexpr int kLevel = 100;
constexpr std::int64_t kStartExp = 5'000'000;

class LiveTest : public ProgramTest {
 public:
  // Also run as a program of its own beside the test's (each in its own
  // folder), so two runs can be compared.
  void TestBody() override {}
  using ProgramTest::clock_;
  using ProgramTest::form;
  using ProgramTest::Start;
  using ProgramTest::TraceMessages;
  using ProgramTest::windows_;

  void ShowExp(std::int64_t exp, bool inFront = true) { OpenGame(QString::number(kLevel), QString::number(exp), inFront); }
  QString Value(const char* name) { return Label(QLatin1String(name))->text(); }
  RateChart& Chart() { return *form().findChild<RateChart*>(QStringLiteral("chartLive")); }
  QString LogFileBytes() {
    const QStringList files = QDir(folder_.File(QStringLiteral("log"))).entryList(QDir::Files);
    if (files.size() != 1) return QStringLiteral("%1 log files").arg(files.size());
    return QString::fromLatin1(folder_.Read(QStringLiteral("log/") + files.first()).toHex());
  }

  // Ten minutes and more of play, 1,000 a tick, with a stretch behind other
  // windows, a misread counter and a level-up; Stop at the end.
  void PlayAndStop() {
    std::int64_t exp = kStartExp;
    ShowExp(exp);
    Run();
    for (int tick = 0; tick < 90; ++tick) {
      exp += 1000;
      if (tick == 40) {
        OpenGame(QString::number(kLevel + 9), QString::number(exp));  // a misread level
      } else {
        ShowExp(exp, tick < 60 || tick > 70);
      }
      RunFor(10);
    }
    OpenGame(QString::number(kLevel + 1), QStringLiteral("2000"));
    RunFor(60);
    form().menuStop_Click();
  }
};

}  // namespace

TEST_F(LiveTest, ReadingsBetweenCapturesFeedThePanelWithoutBeepLogLineTraceOrDueTime) {
  Start([](Settings& s) { s.beepBeep = true; });
  std::int64_t exp = kStartExp;
  ShowExp(exp);
  Run();
  const QDateTime due = form().Monitor().NextCaptureTime();
  const QStringList trace = TraceMessages();
  RunFor(10);  // the first tick: a live reading only
  EXPECT_EQ(windows_.beeps, 0);
  EXPECT_EQ(form().Monitor().NextCaptureTime(), due);
  EXPECT_EQ(form().LogText(), ScreenHeader() + "\r\n");
  EXPECT_EQ(TraceMessages(), trace);
  EXPECT_TRUE(form().Monitor().Capture(0).isNull()) << "the capture pictures are the timed capture's";
  EXPECT_EQ(Chart().Updates(), 2) << "Run, then the reading";

  for (int tick = 0; tick < 60; ++tick) {
    exp += 1000;  // 100 a second: 360 k/h
    ShowExp(exp);
    RunFor(10);
  }
  EXPECT_EQ(windows_.beeps, 1) << "only the timed capture beeps";
  EXPECT_EQ(Value("lblLiveShortRate"), QStringLiteral("360 k/h"));
  EXPECT_EQ(Value("lblLiveLongRate"), QStringLiteral("360 k/h"));
  EXPECT_EQ(Value("lblLiveWholeRate"), QStringLiteral("360 k/h"));
  EXPECT_EQ(Value("lblLiveGained"), QStringLiteral("60,000"));
  EXPECT_EQ(Value("lblLiveActive"), QStringLiteral("10分"));
  EXPECT_EQ(Value("lblLiveProgress"), QStringLiteral("49.4 %"));  // 5,060,000 of 10,223,168
  EXPECT_EQ(Value("lblLiveToLevel"), QStringLiteral("あと 14時間21分"));
  EXPECT_EQ(Value("lblLiveMisreads"), QStringLiteral("0"));
  // The tick at 20 s made the timed capture and no live reading.
  EXPECT_EQ(Chart().Updates(), 1 + 60);

  // Behind another window: no reading, no redraw, and the state line counts.
  windows_.foreground = 0;
  RunFor(60);
  EXPECT_EQ(Chart().Updates(), 1 + 60);
  EXPECT_EQ(form().Monitor().StateText(), QStringLiteral("ゲームが前面にありません (待機 00:50)"));

  // Switched off in the options: the ticks look at the game and read nothing.
  form().State().settings.liveSampling = false;
  windows_.foreground = game_;
  const std::size_t grabs = windows_.grabs.size();
  RunFor(60);
  EXPECT_EQ(windows_.grabs.size(), grabs);
  EXPECT_EQ(Chart().Updates(), 1 + 60);
  EXPECT_TRUE(form().Monitor().StateText().startsWith(QStringLiteral("監視中")));
}

TEST_F(LiveTest, TheLogFileIsByteForByteTheSameWithAndWithoutLiveReadings) {
  LiveTest withLive;
  withLive.Start([](Settings& s) { s.captureInterval = 1; });
  withLive.PlayAndStop();
  LiveTest without;
  without.Start([](Settings& s) {
    s.captureInterval = 1;
    s.liveSampling = false;
  });
  without.PlayAndStop();

  const QString file = withLive.LogFileBytes();
  EXPECT_EQ(file, without.LogFileBytes());
  EXPECT_GT(file.size(), 1000) << "the run wrote lines";
  EXPECT_EQ(withLive.TraceMessages(), without.TraceMessages());
  EXPECT_GT(withLive.windows_.grabs.size(), without.windows_.grabs.size());

  // On screen, live readings add only the summary at Stop.
  const SessionFigures f = withLive.form().Monitor().Session().Figures(withLive.clock_.MonotonicMs());
  EXPECT_EQ(f.misreads, 1);
  EXPECT_EQ(f.levelsGained, 1);
  const QString summary = withLive.form().Monitor().Session().SummaryLine();
  EXPECT_EQ(withLive.form().LogText(), without.form().LogText() + summary + "\r\n");
  EXPECT_TRUE(summary.startsWith(QStringLiteral("セッション 12/05 14:30 - 12/05 14:46  稼働 ")));
  EXPECT_TRUE(summary.endsWith(QStringLiteral("レベル +1")));
}

TEST_F(LiveTest, RunAfterStopStartsTheFiguresAfresh) {
  Start();
  std::int64_t exp = kStartExp;
  ShowExp(exp);
  Run();
  for (int tick = 0; tick < 30; ++tick) {
    ShowExp(exp += 500);
    RunFor(10);
  }
  form().menuStop_Click();
  EXPECT_EQ(Value("lblLiveGained"), QStringLiteral("14,500")) << "still on show after Stop";
  EXPECT_TRUE(form().LogText().endsWith(form().Monitor().Session().SummaryLine() + "\r\n"));
  ShowExp(exp += 1'000'000);  // gained while stopped: no part of the next session
  Run();
  EXPECT_EQ(Value("lblLiveGained"), QStringLiteral("0"));
  EXPECT_EQ(Value("lblLiveShortRate"), QStringLiteral("—"));
  RunFor(10);
  ShowExp(exp += 500);
  RunFor(20);
  EXPECT_EQ(Value("lblLiveGained"), QStringLiteral("500"));
}

TEST_F(LiveTest, TheStateLineFollowsTheCycleTheGameAndTheManualCountdown) {
  Start();
  auto* state = Label(QStringLiteral("lblState"));
  EXPECT_EQ(state->text(), QStringLiteral("停止中"));
  ShowExp(kStartExp);
  Run();
  EXPECT_EQ(form().Monitor().StateText(), QStringLiteral("監視中  次のキャプチャまで 00:15"));
  RunFor(10);
  EXPECT_EQ(state->text(), QStringLiteral("監視中  次のキャプチャまで 00:05"));
  RunFor(10);  // the timed capture: the next one is an interval away
  EXPECT_EQ(state->text(), QStringLiteral("監視中  次のキャプチャまで 20:00"));
  windows_.foreground = 0;
  RunFor(10);
  EXPECT_EQ(state->text(), QStringLiteral("ゲームが前面にありません (待機 00:00)"));
  RunFor(120);
  EXPECT_EQ(state->text(), QStringLiteral("ゲームが前面にありません (待機 02:00)"));
  windows_.Remove(game_);
  RunFor(10);
  EXPECT_EQ(state->text(), QStringLiteral("ゲームが見つかりません"));
  form().menuStop_Click();
  EXPECT_EQ(state->text(), QStringLiteral("停止中"));

  QString duringWait;
  clock_.onWait = [&] {
    clock_.Advance(-7000);  // 3 seconds into the wait
    duringWait = form().Monitor().StateText();
    clock_.Advance(7000);
  };
  form().cmdCapture_Click();
  EXPECT_EQ(duringWait, QStringLiteral("キャプチャまで 00:07"));
  EXPECT_EQ(state->text(), QStringLiteral("停止中"));
}

TEST_F(LiveTest, TheOptionHidesPanelAndChartAndNothingOverlapsAtTheMinimumSize) {
  Start([](Settings& s) { s.showLivePanel = false; });
  auto* panel = form().findChild<LivePanel*>(QStringLiteral("panelLive"));
  auto* log = form().findChild<QPlainTextEdit*>(QStringLiteral("txtLog"));
  ASSERT_TRUE(panel && log);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(log->y(), kLogTop) << "the classic window";

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

  form().resize(100, 80);  // snapped to the minimum
  std::vector<QWidget*> shown;
  for (QWidget* w : form().centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w->isVisible()) shown.push_back(w);
  }
  const auto isLive = [&](QWidget* w) { return w == panel || w == log || w->objectName() == "chartLive"; };
  for (QWidget* a : shown) {
    // The classic controls keep their design places (the buttons lie beyond
    // the minimum width, the two buttons share a row of pixels); the live
    // controls and the log must fit and keep clear of everything.
    if (isLive(a)) {
      EXPECT_TRUE(form().centralWidget()->rect().contains(a->geometry())) << a->objectName().toStdString();
    }
    for (QWidget* b : shown) {
      if (a == b) continue;
      if (isLive(a) || isLive(b)) {
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " and " << b->objectName().toStdString();
      }
    }
  }
  EXPECT_GT(log->height(), 40) << "the log stays usable";
}

TEST_F(LiveTest, TheCompactViewShowsTheLiveFiguresAndRemembersWhereItWasLeft) {
  Start();
  std::int64_t exp = kStartExp;
  ShowExp(exp);
  Run();
  form().menuCompact_Click();
  CompactView* view = form().Compact();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_TRUE(view->windowFlags() & Qt::WindowStaysOnTopHint);
  for (int tick = 0; tick < 10; ++tick) {
    ShowExp(exp += 1000);
    RunFor(10);
  }
  EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("lblCompactRate"))->text(), Value("lblLiveShortRate"));
  EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("lblCompactToLevel"))->text(), Value("lblLiveToLevel"));

  view->move(321, 234);
  EXPECT_EQ(form().State().settings.compactViewX, 321);
  EXPECT_EQ(form().State().settings.compactViewY, 234);
  form().menuCompact_Click();
  EXPECT_FALSE(view->isVisible());
  form().State().settings.compactViewX = 400;
  form().menuCompact_Click();
  EXPECT_EQ(view->pos(), QPoint(400, 234));
  form().close();
  EXPECT_FALSE(view->isVisible()) << "it goes with the main window";
}
