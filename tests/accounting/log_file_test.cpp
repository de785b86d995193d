#include "accounting/log_file.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "accounting/log_headers.h"
#include "persistence/text_file.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

namespace {

const QDateTime kStart(QDate(2026, 12, 5), QTime(14, 30, 12));

QByteArray Lines(const QStringList& lines) { return EncodeCp932(lines.join("\r\n") + "\r\n"); }

class LogFileTest : public ::testing::Test {
 protected:
  std::optional<Notice> Write(const QString& text, const QString& mode, const QDateTime& now = kStart) {
    return writer.WriteLogLine(text, mode, settings, now);
  }

  TempFolder temp;
  Settings settings{.saveFolder = temp.Path(), .saveFile = QStringLiteral("給与明細")};
  LogFileWriter writer;
  const QString header = TxtFileHeader();
};

TEST(LogFolder, IsTheSaveFoldersLogFolderWithOneSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"/data/tm", "/data/tm/log/"}, {"/", "/log/"}, {"/data/tm/", "/data/tm/log/"}, {"C:\\Meter\\", "C:\\Meter\\log/"}};
  for (const auto& [folder, expected] : cases) EXPECT_EQ(LogFolder(folder), QString::fromUtf8(expected)) << folder;
}

TEST_F(LogFileTest, MeasurementFileSurvivesSwitchesDeletionAndARestartInTheSameMinute) {
  EXPECT_FALSE(Write("before any measurement", "") || QDir(temp.File("log")).exists());
  EXPECT_FALSE(Write(header, "INIT"));
  EXPECT_FALSE(Write("deleted", ""));
  ASSERT_TRUE(QFile::remove(writer.CurrentPath(settings, kStart)));
  EXPECT_FALSE(Write("after delete", "", kStart.addDays(40)));  // the start names the file
  settings.saveCsv = true;  // the other extension, without a header
  EXPECT_FALSE(Write("as csv", ""));
  settings.saveCsv = false;
  EXPECT_FALSE(Write(header, "INIT", kStart.addSecs(30)));  // the same stamp: appended, not replaced
  EXPECT_FALSE(Write("later", ""));
  writer.Clear();
  EXPECT_FALSE(Write("after stop", ""));
  EXPECT_EQ(temp.Read("log/給与明細202612051430.txt"), Lines({"after delete", header, "later"}));
  EXPECT_EQ(temp.Read("log/給与明細202612051430.csv"), Lines({"as csv"}));
}

TEST_F(LogFileTest, MonthFileKeepsOneHeaderAcrossMeasurements) {
  settings.saveDistance = true;
  Write(header, "INIT");
  Write("first run", "");
  LogFileWriter restarted;
  EXPECT_FALSE(restarted.WriteLogLine(header, "INIT", settings, kStart.addDays(3)));
  // A measurement running into January goes on in January's file, which it
  // begins with the header as a first reading would.
  EXPECT_FALSE(restarted.WriteLogLine("new year", "", settings, QDateTime(QDate(2027, 1, 1), QTime(0, 5))));
  EXPECT_FALSE(restarted.WriteLogLine("next", "", settings, QDateTime(QDate(2027, 1, 1), QTime(0, 25))));
  EXPECT_EQ(temp.Read("log/給与明細202612月.txt"), Lines({header, "first run"}));
  EXPECT_EQ(temp.Read("log/給与明細202701月.txt"), Lines({header, "new year", "next"}));
}

TEST_F(LogFileTest, UnwritableFolderReportedOncePerMeasurement) {
  // A regular file where the save folder should be: no folder can be made below it.
  temp.Write("blocker", "x");
  settings.saveFolder = temp.File("blocker/save");
  // The path as the system writes it (backslashes on Windows).
  const std::optional<Notice> notice = Write(header, "INIT");
  EXPECT_EQ(notice.value_or(Notice()).text,
            "ログファイルに書き込めません。\r\n" + QDir::toNativeSeparators(temp.File("blocker/save/log/給与明細202612051430.txt")));
  EXPECT_FALSE(Write("gain 1", ""));
  EXPECT_TRUE(Write(header, "INIT", kStart.addSecs(120)));
  settings.saveFolder = temp.Path();  // usable again: writing resumes, under the header that did not get there
  EXPECT_FALSE(Write("gain 2", ""));
  EXPECT_EQ(temp.Read("log/給与明細202612051432.txt"), Lines({header, "gain 2"}));
  // The empty file a full disk left behind, continued after a restart.
  temp.Write("log/給与明細202612051440.txt", "");
  LogFileWriter restarted;
  restarted.Resume("202612051440", header);
  EXPECT_FALSE(restarted.WriteLogLine("gain 4", "", settings, kStart.addSecs(900)));
  EXPECT_EQ(temp.Read("log/給与明細202612051440.txt"), Lines({header, "gain 4"}));
}

}  // namespace
