#include "dialogs/history_window.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "accounting/log_file.h"
#include "base/cp932.h"
#include "dialog_test_support.h"
#include "dialogs/goal_options.h"
#include "dialogs/history_models.h"
#include "history/logged_play.h"
#include "support/qstring_printer.h"

namespace {

class HistoryWindowTest : public ::testing::Test {
 protected:
  HistoryWindowTest() {
    settings.saveFolder = tmp.Path();
    Program program(tmp.Path(), false, true);
    PlayFourMeasurements(program);
    window.SetSavePathAsker([this](const QString&, const QString& suggested, const QString&) {
      suggestedPath = suggested;
      return savePath.isEmpty() ? QString() : tmp.File(savePath + suggested.right(4));
    });
    QSignalSpy loaded(&window, &HistoryWindow::Loaded);
    window.Reload();
    EXPECT_TRUE(loaded.wait(20000));
  }
  QString Cell(int row, RecordColumn column) const { return RecordCellText(window.Table().RecordAt(row), column); }

  TempFolder tmp;
  Settings settings;
  RecordingMessageBoxes boxes;
  HistoryWindow window{settings, boxes};
  QString savePath;
  QString suggestedPath;
};

}  // namespace

TEST_F(HistoryWindowTest, ShowsTheImportedRecordsFilteredAndSortedAndExportsAndCopiesWhatIsShown) {
  EXPECT_EQ(window.Table().rowCount(), 4);
  EXPECT_EQ(Cell(0, RecordColumn::Start), "2026/12/31 23:40");
  EXPECT_EQ(Cell(0, RecordColumn::End), "01/01 00:10");
  EXPECT_EQ(Cell(3, RecordColumn::Gained), "1,300,000");
  EXPECT_EQ(Cell(3, RecordColumn::Active), "1時間0分");
  EXPECT_TRUE(window.StatusText().startsWith("4件 / 全4件  ログから 4件を取込み"));

  // The export holds the shown records only; the copy, the selected ones.
  window.SetFilter({QDate(2026, 12, 6), QDate(), ""});
  savePath = "export";
  ASSERT_TRUE(window.ExportCsv());
  EXPECT_EQ(QFileInfo(suggestedPath).absolutePath(), QDir(LogFolder(tmp.Path())).absolutePath()) << "opens in the log folder";
  const QStringList lines = DecodeCp932(tmp.Read("export.csv")).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(ParseRecordLine(lines[1]), window.Records()[3]);  // the table's order: newest first

  auto* table = window.findChild<QTableView*>("tblHistory");
  table->selectRow(1);
  const QStringList copied = window.CopySelection().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(copied.size(), 2);
  EXPECT_TRUE(copied[1].startsWith("2026/12/06 23:30\t23:40\t10分\t121\t121\t200,000\t1,200\t1,200\t\t"));

  window.SetFilter({QDate(2026, 12, 6), QDate(2026, 12, 6), ""});
  EXPECT_EQ(window.Table().rowCount(), 2);
  const_cast<RecordTableModel&>(window.Table()).sort(static_cast<int>(RecordColumn::Gained), Qt::AscendingOrder);
  EXPECT_EQ(Cell(0, RecordColumn::Gained), "200,000");
  window.SetFilter({QDate(), QDate(), "狩場"});
  EXPECT_EQ(window.Table().rowCount(), 0);
  EXPECT_TRUE(boxes.shown.empty());

  savePath = "no/such/folder/export";
  EXPECT_FALSE(window.ExportCsv());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "保存エラー");
}

TEST_F(HistoryWindowTest, ReadsOffTheWindowsThreadAndAWindowGoneMeanwhileIsLeftAlone) {
  const auto* progress = window.findChild<QProgressBar*>("prgHistoryLoad");
  QSignalSpy loaded(&window, &HistoryWindow::Loaded);
  window.Reload();
  EXPECT_TRUE(window.Loading());
  EXPECT_TRUE(progress->isVisibleTo(&window));
  EXPECT_EQ(window.StatusText(), "履歴を読み込んでいます...");
  ASSERT_TRUE(loaded.wait(20000));
  EXPECT_EQ(std::tuple(window.Records().size(), progress->isVisibleTo(&window)), std::tuple(4u, false));

  // Gone before, while or after its reading ends: what the reading hands
  // back is dropped with it.
  for (const int waitMs : {0, 1, 5, 30}) {
    auto gone = std::make_unique<HistoryWindow>(settings, boxes);
    gone->Reload();
    gone->ImportAgain();  // refused while it reads
    QTest::qWait(waitMs);
  }
  QTest::qWait(50);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(GoalOptions, TheBoxesWriteTheGoalAtOnce) {
  Settings settings;
  settings.goalLevel = 250;
  settings.goalDate = 20270331;
  GoalOptions options(settings, nullptr);
  options.Fill();
  EXPECT_EQ(settings.goalDate, 20270331);
  options.findChild<QCheckBox*>("chkGoalDate")->setChecked(false);
  EXPECT_EQ(settings.goalDate, 0);
  options.findChild<QSpinBox*>("txtGoalLevel")->setValue(0);
  EXPECT_EQ(settings.goalLevel, 0);
}
