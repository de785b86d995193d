// The log files read back as measurements, and the history store that imports them once.
#include "history/log_import.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

#include "accounting/log_headers.h"
#include "base/cp932.h"
#include "history/history_store.h"
#include "history/logged_play.h"
#include "history/sessions_file.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

TEST(LogImport, EveryFormatGivesTheMeasurementsThatWereMade) {
  for (const bool csv : {false, true}) {
    for (const bool perMonth : {false, true}) {
      SCOPED_TRACE(testing::Message() << "csv " << csv << ", per month " << perMonth);
      TempFolder tmp;
      Program program(tmp.Path(), csv, perMonth);
      PlayFourMeasurements(program);
      tmp.Write("log/給与明細202612月.bak", "not a log file");
      const LogImport import = ImportLogFolder(tmp.File("log"));
      // The last measurement runs into January's file.
      EXPECT_EQ(std::tuple(import.records, import.skippedLines, import.files),
                std::tuple(Expected(csv, perMonth), 0, perMonth ? 2 : 4));
    }
  }
}

// The month file as it may come back: with damaged lines (skipped and
// counted), or saved again by an editor in another encoding.
TEST(LogImport, AFileWithDamagedLinesOrInAnotherEncodingStillReads) {
  TempFolder tmp;
  Program program(tmp.Path(), false, true);
  PlayFourMeasurements(program);
  const QString text = DecodeCp932(tmp.Read("log/給与明細202612月.txt"));
  const QStringList lines = text.split("\r\n");
  const QString gain = lines[1];
  // Garbage, a torn line, no such date, a column too many.
  const QStringList damaged = lines.mid(0, 2) + QStringList{"garbage", gain.left(30), "13/45 25:61" + gain.mid(11),
                                                            gain + "   7"} + lines.mid(2);
  const auto encoded = [&](QStringConverter::Encoding encoding, bool mark) {
    QStringEncoder encoder(encoding, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return QByteArray(encoder.encode(QString(text).replace("\r\n", "\n")));
  };
  const std::tuple<const char*, QByteArray, int> cases[] = {
      {"damaged lines", EncodeCp932(damaged.join("\r\n")), 4},
      {"UTF-8 with a mark", encoded(QStringConverter::Utf8, true), 0},
      {"UTF-8", encoded(QStringConverter::Utf8, false), 0},
      {"UTF-16LE with a mark", encoded(QStringConverter::Utf16LE, true), 0},
      {"UTF-16LE", encoded(QStringConverter::Utf16LE, false), 0},
      {"UTF-16BE with a mark", encoded(QStringConverter::Utf16BE, true), 0},
  };
  for (const auto& [name, bytes, skipped] : cases) {
    tmp.Write("log/給与明細202612月.txt", bytes);
    const LogImport import = ImportLogFolder(tmp.File("log"));
    EXPECT_EQ(std::tuple(import.records, import.skippedLines), std::tuple(Expected(false, true), skipped)) << name;
  }
}

TEST(LogImport, OnlyLogFileNamesAreRead) {
  const struct {
    const char* name;
    QDate month;
    std::optional<QDateTime> begun;
  } cases[] = {
      {"給与明細202612051430.txt", QDate(2026, 12, 1), At(12, 5, 14, 30)},
      {"202701010005.CSV", QDate(2027, 1, 1), At(1, 1, 0, 5, 2027)},
      {"給与明細202612月.csv", QDate(2026, 12, 1), std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<LogFileName> name = ParseLogFileName(QString::fromUtf8(c.name));
    ASSERT_TRUE(name) << c.name;
    EXPECT_EQ(std::tuple(name->month, name->begun), std::tuple(c.month, c.begun)) << c.name;
  }
  for (const char* other : {"測定記録.csv", "給与明細202613月.txt", "給与明細202612312460.txt", "notes.txt",
                            "給与明細202612月.txt.bak"}) {
    EXPECT_FALSE(ParseLogFileName(QString::fromUtf8(other))) << other;
  }
}

TEST(LogImport, ReadingTheLogsAgainAddsOnlyWhatTheHistoryLacks) {
  std::vector<MeasurementRecord> kept = Expected(false, true);
  kept.erase(kept.begin() + 2, kept.end());
  kept[0].start = kept[0].start.addSecs(-17);  // a live record knows the seconds
  kept[1].end = kept[1].end.addSecs(-40);
  const std::vector<MeasurementRecord> all = Expected(false, true);
  EXPECT_EQ(RecordsNotYetKept(kept, all), (std::vector{all[2], all[3]}));
  EXPECT_EQ(RecordsNotYetKept({}, all), all);
}

TEST(HistoryStore, TheLogsAreImportedOnceAndKeptFromThenOn) {
  TempFolder tmp;
  Program program(tmp.Path(), true, false);
  PlayFourMeasurements(program);
  const std::vector<MeasurementRecord> logged = Expected(true, false);

  const HistoryLoad first = OpenHistory(tmp.Path());
  EXPECT_EQ(std::tuple(first.records, first.imported, first.notice, ReadSessionsFile(tmp.Path()).records),
            std::tuple(logged, 4, std::nullopt, logged));
  const HistoryLoad again = OpenHistory(tmp.Path());
  EXPECT_EQ(std::tuple(again.records, again.imported, ImportLogsAgain(tmp.Path(), again.records).imported),
            std::tuple(logged, 0, 0));
  EXPECT_EQ(ReadSessionsFile(tmp.Path()).records.size(), 4u);
}

TEST(HistoryStore, TheFirstMeasurementKeptBringsTheOlderLogsAlongButNotItsOwn) {
  TempFolder tmp;
  Program program(tmp.Path(), false, true);
  PlayFourMeasurements(program);
  const std::vector<MeasurementRecord> logged = Expected(false, true);
  MeasurementRecord live = logged[3];
  live.start = live.start.addSecs(-25);
  live.memo = QStringLiteral("狩場A");
  ASSERT_FALSE(KeepMeasurement(tmp.Path(), live));
  EXPECT_EQ(ReadSessionsFile(tmp.Path()).records, (std::vector{logged[0], logged[1], logged[2], live}));
}

// One line changed to what no meter writes is skipped (counted), nothing
// overflowing on the way; a line in year 10000 too.
TEST(LogImport, ImpossibleValuesAndYearsBeyondTheDatesWrittenAreSkipped) {
  const QString first = CsvFileHeader() + "\r\n12/31 23:40 ,190,1234500000,100000,10.0,600\r\n";
  for (const char* line : {"12/31 23:50 ,190,1234600000,100000,1e300,600", "12/31 23:50 ,190,1234600000,100000,2e14,600",
                           "12/31 23:50 ,2147483647,1234600000,100000,10.0,600", "12/31 23:50 ,-5,1234600000,100000,10.0,600",
                           "12/31 23:50 ,190,1234600000,1e300,10.0,600", "12/31 23:50 ,190,1e308,100000,10.0,600",
                           "01/01 00:10 ,190,1234600000,100000,20.0,300"}) {
    const LogImport import = ImportLogText("給与明細999912月.csv", EncodeCp932(first + line));
    ASSERT_EQ(std::tuple(import.skippedLines, import.records.size()), std::tuple(1, 1u)) << line;
    EXPECT_EQ(import.records[0].gained, 100'000);
  }
}
