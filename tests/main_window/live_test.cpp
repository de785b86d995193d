// The live figures in the main window: the panel option and the layout, and
// the compact view.
#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/form2.h"
#include "main_window/compact_view.h"
#include "main_window/live_panel.h"
#include "main_window/rate_chart.h"
#include "program_fixture.h"

namespace {

// Level 100 needs 10,223,168; the player starts half-way.
constexpr int kLevel = 100;
constexpr std::int64_t kStartExp = 5'000'000;

class LiveTest : public ProgramTest {
 public:
  void ShowExp(std::int64_t exp) { OpenGame(QString::number(kLevel), QString::number(exp)); }
  QString Value(const char* name) { return Label(QLatin1String(name))->text(); }
};

}  // namespace

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
  // The classic controls keep their design places (the buttons lie beyond
  // the minimum width, the two buttons share a row of pixels); the live
  // controls and the log must fit and keep clear of everything.
  const QList<QWidget*> all = form().centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* a : {static_cast<QWidget*>(panel), static_cast<QWidget*>(log), form().findChild<QWidget*>("chartLive")}) {
    if (!a->isVisible()) continue;
    EXPECT_TRUE(form().centralWidget()->rect().contains(a->geometry())) << a->objectName().toStdString();
    for (QWidget* b : all) {
      EXPECT_TRUE(a == b || !b->isVisible() || !a->geometry().intersects(b->geometry()))
          << a->objectName().toStdString() << " and " << b->objectName().toStdString();
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
  EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("lblCompactActivity"))->text(),
            QStringLiteral("計測中・時給は稼働時間あたり"));

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

TEST_F(LiveTest, TheGoalHasARowOfItsOwnAndTheMemoIsOneInBothWindows) {
  Start([](Settings& s) { s.goalLevel = 101; });
  ShowExp(kStartExp);
  Run();
  RunFor(10);
  auto* panel = form().findChild<LivePanel*>(QStringLiteral("panelLive"));
  panel->layout()->activate();
  const QLabel* goal = Label(QLatin1String("lblLiveGoal"));
  EXPECT_TRUE(goal->isVisible());
  EXPECT_GT(goal->geometry().top(), Label(QLatin1String("lblLiveActivity"))->geometry().bottom());
  EXPECT_LE(goal->geometry().bottom(), panel->contentsRect().bottom());
  EXPECT_TRUE(goal->toolTip().startsWith(QStringLiteral("目標 Lv101まで 5,223,168 Exp"))) << goal->toolTip().toStdString();

  form().menuCompact_Click();
  QComboBox* compact = form().Compact()->MemoField();
  compact->setEditText(QStringLiteral("森 "));
  EXPECT_EQ(form().MemoField()->currentText(), QStringLiteral("森"));
  EXPECT_EQ(compact->currentText(), QStringLiteral("森 ")) << "left as typed";
  form().MemoField()->setEditText(QStringLiteral("洞窟"));
  EXPECT_EQ(compact->currentText(), QStringLiteral("洞窟"));
  EXPECT_EQ(form().Monitor().Memo(), QStringLiteral("洞窟"));
}
