// Two measurements with different memos against the practice game, on a
// clock the test moves: each leaves its record, and the history window
// shows both with their figures, exports exactly them and saves its chart.
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/history_models.h"
#include "dialogs/history_window.h"
#include "history/sessions_file.h"
#include "in_process_program.h"

using X11History = InProcessTest<>;

TEST_F(X11History, TwoMeasurementsWithTheirMemosReachTheHistoryWindowItsExportAndItsChart) {
  ASSERT_TRUE(Start());
  Form1& form = this->form();
  form.State().settings.goalLevel = 101;
  struct Measurement {
    QString memo;
    std::vector<std::int64_t> counters;  // what the game shows, in turn, at level 100
  };

  const std::vector<Measurement> played{{"ヘネシス 北", {2'000'000, 2'300'000, 2'600'000}},
                                        {"洞窟", {3'000'000, 3'400'000}}};
  for (const Measurement& m : played) {
    form.MemoField()->setEditText(m.memo);
    std::unique_ptr<PracticeGame> game;
    for (std::size_t i = 0; i < m.counters.size(); ++i) {
      game.reset();  // one game window at a time
      game = std::make_unique<PracticeGame>("100", QString::number(m.counters[i]));
      ASSERT_NE(ShowGame(*ws, QStringLiteral("100")), 0u);
      if (i == 0) form.menuRun_Click();  // the first counter is where it starts
      // Two ticks a counter: one of them at least reads it live.
      for (int tick = 0; tick < 2; ++tick) program->RunFor(10);
    }
    form.menuStop_Click();
    program->clock.AdvanceSeconds(600);
  }
  ASSERT_TRUE(program->boxes.shown.empty()) << program->boxes.shown[0].text.toStdString();

  HistoryWindow* window = ShowHistoryWindow(&form, form.State().settings, program->boxes);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([window] { return !window->Loading(); }, 20000));
  window->SetFilter({});
  window->SetSavePathAsker([&](const QString&, const QString& suggested, const QString&) {
    return folder.File(QStringLiteral("shown") + suggested.right(4));
  });
  const std::vector<MeasurementRecord>& records = window->Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(window->Table().rowCount(), 2);
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(records[i].memo, played[i].memo);
    EXPECT_EQ(records[i].gained, static_cast<double>(played[i].counters.back() - played[i].counters.front()));
    EXPECT_EQ(std::pair(records[i].levelFrom, records[i].levelTo), std::pair(100, 100));
    // Whole seconds; the recognition's lag waits move the clock a little too.
    EXPECT_NEAR(records[i].start.secsTo(records[i].end), 20 * static_cast<int>(played[i].counters.size()), 1);
  }
  EXPECT_EQ(form.MemoField()->itemText(0), played[1].memo) << "offered again, newest first";
  // The goal is fed: level 100 needs 10,223,168, and the records give a pace.
  const auto* goalLabel = form.findChild<QLabel*>(QStringLiteral("lblLiveGoal"));
  EXPECT_TRUE(QTest::qWaitFor([goalLabel] { return !goalLabel->toolTip().contains(QStringLiteral("7日平均で —")); }, 20000))
      << goalLabel->toolTip().toStdString();
  const QString goal = goalLabel->toolTip();
  EXPECT_TRUE(goal.startsWith(QStringLiteral("目標 Lv101まで 6,823,168 Exp  1時間時給で "))) << goal.toStdString();

  // The export holds the shown records, newest first, as the file writes them.
  ASSERT_TRUE(window->ExportCsv());
  const QStringList exported = DecodeCp932(folder.Read("shown.csv")).split("\r\n", Qt::SkipEmptyParts);
  EXPECT_EQ(exported, (QStringList{RecordHeader(), RecordLine(records[1]), RecordLine(records[0])}));
  ASSERT_TRUE(window->SaveChartPng());
  EXPECT_FALSE(QImage(folder.File("shown.png")).isNull());
}
