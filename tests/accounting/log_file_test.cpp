#include "accounting/log_file.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "accounting/log_headers.h"
#include "persistence/text_file.h"
#include "qstring_printer.h"
#include "support/temp_folder.h"

namespace {

const QDateTime kStart(QDate(2026, 12, 5), QTime(14, 30, 12));

QByteArray Lines(std::initializer_list<QString> lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += EncodeCp932(line) + "\r\n";
  return bytes;
}

class LogFileTest : public ::testing::Test {
 protected:
  LogFileTest() {
    settings.saveFolder = temp.Path();
    settings.saveFile = QStringLiteral("給与明細");
  }
  std::optional<Notice> Write(const QString& text, const QString& mode, const QDateTime& now = kStart) {
    return writer.WriteLogLine(text, mode, settings, now);
  }
  QByteArray Log(const QString& name) const { return temp.Read("log/" + name); }

  TempFolder temp;
  Settings settings;
  LogFileWriter writer;
};

TEST_F(LogFileTest, MeasurementFileBegunWithHeaderAndContinuedLineByLine) {
  EXPECT_FALSE(Write(TxtFileHeader(), "INIT"));
  EXPECT_EQ(writer.LogStamp(), "202612051430");
  EXPECT_FALSE(Write("line 1", "", kStart.addSecs(600)));
  EXPECT_FALSE(Write("line 2", "", kStart.addDays(40)));
  EXPECT_EQ(writer.CurrentPath(settings), temp.Path() + "/log/給与明細202612051430.txt");
  EXPECT_EQ(Log("給与明細202612051430.txt"), Lines({TxtFileHeader(), "line 1", "line 2"}));

  settings.saveFolder = temp.File("a/b");  // missing folders above "log" too
  EXPECT_FALSE(Write("line 3", ""));
  EXPECT_EQ(temp.Read("a/b/log/給与明細202612051430.txt"), Lines({"line 3"}));
}

TEST_F(LogFileTest, NothingWrittenWithoutActiveStamp) {
  EXPECT_FALSE(Write("gain", ""));
  EXPECT_FALSE(Write(TxtFileHeader(), "SAVE"));  // not a mode of this writer
  EXPECT_FALSE(QDir(temp.File("log")).exists());
  EXPECT_TRUE(writer.CurrentPath(settings).isEmpty());

  Write(TxtFileHeader(), "INIT");
  writer.Clear();
  EXPECT_TRUE(writer.LogStamp().isEmpty());
  EXPECT_FALSE(Write("after stop", ""));
  EXPECT_EQ(Log("給与明細202612051430.txt"), Lines({TxtFileHeader()}));
}

TEST_F(LogFileTest, MonthFileKeepsOneHeaderAcrossMeasurements) {
  settings.saveDistance = true;
  Write(TxtFileHeader(), "INIT");
  Write("first run", "");
  LogFileWriter restarted;
  EXPECT_FALSE(restarted.WriteLogLine(TxtFileHeader(), "INIT", settings, kStart.addDays(3)));
  EXPECT_FALSE(restarted.WriteLogLine("second run", "", settings, kStart.addDays(3)));
  // A measurement running into January stays in December's file.
  EXPECT_FALSE(restarted.WriteLogLine("new year", "", settings, QDateTime(QDate(2027, 1, 1), QTime(0, 5))));
  EXPECT_EQ(restarted.CurrentPath(settings), temp.Path() + "/log/給与明細202612月.txt");
  EXPECT_EQ(Log("給与明細202612月.txt"), Lines({TxtFileHeader(), "first run", "second run", "new year"}));
}

TEST_F(LogFileTest, SwitchingToCsvContinuesInCsvFileWithoutHeader) {
  Write(TxtFileHeader(), "INIT");
  Write("as text", "");
  settings.saveCsv = true;
  Write("as csv", "");
  EXPECT_EQ(Log("給与明細202612051430.txt"), Lines({TxtFileHeader(), "as text"}));
  EXPECT_EQ(Log("給与明細202612051430.csv"), Lines({"as csv"}));
}

TEST_F(LogFileTest, DeletedFileIsRecreatedWithoutHeader) {
  Write(TxtFileHeader(), "INIT");
  ASSERT_TRUE(QFile::remove(writer.CurrentPath(settings)));
  EXPECT_FALSE(Write("after delete", ""));
  EXPECT_EQ(Log("給与明細202612051430.txt"), Lines({"after delete"}));
}

TEST_F(LogFileTest, SecondMeasurementInSameMinuteKeepsEarlierLines) {
  Write(TxtFileHeader(), "INIT");
  Write("earlier gain", "");
  EXPECT_FALSE(Write(TxtFileHeader(), "INIT", kStart.addSecs(30)));
  Write("later gain", "", kStart.addSecs(40));
  EXPECT_EQ(Log("給与明細202612051430.txt"), Lines({TxtFileHeader(), "earlier gain", TxtFileHeader(), "later gain"}));
}

TEST_F(LogFileTest, UnwritableFolderReportedOncePerMeasurement) {
  // A regular file where the save folder should be: no folder can be made below it.
  temp.Write("blocker", "x");
  settings.saveFolder = temp.File("blocker/save");
  const std::optional<Notice> notice = Write(TxtFileHeader(), "INIT");
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->title, "ログファイル書込みエラー");
  EXPECT_EQ(notice->text, "ログファイルに書き込めません。\r\n" + temp.File("blocker/save/log/給与明細202612051430.txt"));
  EXPECT_FALSE(Write("gain 1", ""));
  EXPECT_FALSE(Write("gain 2", ""));

  // A new measurement may report again; once the folder is usable, writing resumes.
  EXPECT_TRUE(Write(TxtFileHeader(), "INIT", kStart.addSecs(120)));
  settings.saveFolder = temp.Path();
  EXPECT_FALSE(Write("gain 3", "", kStart.addSecs(180)));
  EXPECT_EQ(Log("給与明細202612051432.txt"), Lines({"gain 3"}));

  // A folder of the log file's own name: the file cannot be opened.
  ASSERT_TRUE(QDir().mkpath(temp.File("log/給与明細202612051440.txt")));
  EXPECT_TRUE(Write(TxtFileHeader(), "INIT", kStart.addSecs(600)));
}

}  // namespace
