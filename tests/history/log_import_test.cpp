#include "history/log_import.h"

#include <QDir>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include "accounting/evaluation.h"
#include "accounting/log_file.h"
#include "accounting/log_headers.h"
#include "base/cp932.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

namespace {

QDateTime At(int month, int day, int hour, int minute, int year = 2026) {
  return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

// The program's own evaluation and log writer, so the files are exactly
// what it writes.
class Program {
 public:
  Program(const QString& folder, bool csv, bool perMonth) {
    settings.saveFolder = folder;
    settings.saveFile = QStringLiteral("給与明細");
    settings.saveCsv = csv;
    settings.saveDistance = perMonth;
  }
  void Run() { evaluator.StartNewMeasurement(); }
  void Stop() { writer.Clear(); }
  void Read(const QDateTime& at, int level, double exp) {
    const EvaluationStep step = evaluator.Evaluate(level, exp, at, at.toMSecsSinceEpoch(), settings.saveCsv);
    if (step.beginLogFile) writer.WriteLogLine(FileHeader(settings.saveCsv), "INIT", settings, at);
    if (step.fileLine) writer.WriteLogLine(*step.fileLine, "", settings, at);
  }
  Settings settings;
  ReadingEvaluator evaluator;
  LogFileWriter writer;
};

// Level 120 holds 29,715,818: the second gain crosses into level 121.
void PlayFourMeasurements(Program& p) {
  p.Run();
  p.Read(At(12, 5, 14, 30), 120, 29'000'000);
  p.Read(At(12, 5, 14, 50), 120, 29'400'000);
  p.Read(At(12, 5, 15, 10), 121, 284'182);  // +600,000 across the level-up
  p.Read(At(12, 5, 15, 30), 121, 284'182);  // idle: left out of the time
  p.Read(At(12, 5, 15, 50), 121, 584'182);
  p.Stop();
  p.Run();  // after playing without the meter
  p.Read(At(12, 6, 20, 0), 121, 5'000'000);
  p.Read(At(12, 6, 20, 10), 121, 6'000'000);
  p.Read(At(12, 6, 20, 20), 121, 7'000'000);
  p.Stop();
  p.Run();  // later the same evening, without having played in between
  p.Read(At(12, 6, 23, 30), 121, 7'000'000);
  p.Read(At(12, 6, 23, 40), 121, 7'200'000);
  p.Stop();
  p.Run();  // into the new year
  p.Read(At(12, 31, 23, 40), 121, 10'000'000);
  p.Read(At(12, 31, 23, 55), 121, 10'500'000);
  p.Read(At(1, 1, 0, 10, 2027), 121, 11'000'000);
  p.Stop();
}

std::vector<MeasurementRecord> Expected(bool csv, bool perMonth) {
  const QString extension = csv ? ".csv" : ".txt";
  const auto file = [&](const QString& stamp) {
    return "給与明細" + (perMonth ? QStringLiteral("202612月") : stamp) + extension;
  };
  constexpr std::int64_t kMinute = 60'000;
  return {
      {At(12, 5, 14, 30), At(12, 5, 15, 50), 60 * kMinute, 120, 121, 1'300'000, 1300, 1800, file("202612051430"), ""},
      {At(12, 6, 20, 0), At(12, 6, 20, 20), 20 * kMinute, 121, 121, 2'000'000, 6000, 6000, file("202612062000"), ""},
      {At(12, 6, 23, 30), At(12, 6, 23, 40), 10 * kMinute, 121, 121, 200'000, 1200, 1200, file("202612062330"), ""},
      {At(12, 31, 23, 40), At(1, 1, 0, 10, 2027), 30 * kMinute, 121, 121, 1'000'000, 2000, 2000,
       file("202612312340"), ""},
  };
}

}  // namespace

TEST(LogImport, EveryFormatGivesTheMeasurementsThatWereMade) {
  for (const bool csv : {false, true}) {
    for (const bool perMonth : {false, true}) {
      SCOPED_TRACE(testing::Message() << "csv " << csv << ", per month " << perMonth);
      TempFolder tmp;
      Program program(tmp.Path(), csv, perMonth);
      PlayFourMeasurements(program);
      tmp.Write("log/給与明細202612月.bak", "not a log file");
      const LogImport import = ImportLogFolder(tmp.File("log"));
      EXPECT_EQ(import.records, Expected(csv, perMonth));
      EXPECT_EQ(import.skippedLines, 0);
      EXPECT_EQ(import.files, perMonth ? 1 : 4);
    }
  }
}

TEST(LogImport, DamagedLinesAreSkippedAndCountedAndTheRestStillReads) {
  TempFolder tmp;
  Program program(tmp.Path(), false, true);
  PlayFourMeasurements(program);
  QStringList lines = DecodeCp932(tmp.Read("log/給与明細202612月.txt")).split("\r\n");
  const QString gain = lines[1];
  lines.insert(2, "garbage");
  lines.insert(3, gain.left(30));                 // torn
  lines.insert(4, "13/45 25:61" + gain.mid(11));  // no such date
  lines.insert(5, gain + "   7");                 // a column too many
  tmp.Write("log/給与明細202612月.txt", EncodeCp932(lines.join("\r\n")));
  const LogImport import = ImportLogFolder(tmp.File("log"));
  EXPECT_EQ(import.skippedLines, 4);
  EXPECT_EQ(import.records, Expected(false, true));
}

TEST(LogImport, AFileSavedAgainInAnotherEncodingReadsTheSame) {
  TempFolder tmp;
  Program program(tmp.Path(), false, true);
  PlayFourMeasurements(program);
  const QString text = DecodeCp932(tmp.Read("log/給与明細202612月.txt")).replace("\r\n", "\n");
  const auto encoded = [&](QStringConverter::Encoding encoding, bool mark) {
    QStringEncoder encoder(encoding, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return QByteArray(encoder.encode(text));
  };
  const std::pair<const char*, QByteArray> cases[] = {
      {"UTF-8 with a mark", encoded(QStringConverter::Utf8, true)},
      {"UTF-8", encoded(QStringConverter::Utf8, false)},
      {"UTF-16LE with a mark", encoded(QStringConverter::Utf16LE, true)},
      {"UTF-16LE", encoded(QStringConverter::Utf16LE, false)},
      {"UTF-16BE with a mark", encoded(QStringConverter::Utf16BE, true)},
  };
  for (const auto& [name, bytes] : cases) {
    const LogImport import = ImportLogText("給与明細202612月.txt", bytes);
    EXPECT_EQ(import.records, Expected(false, true)) << name;
    EXPECT_EQ(import.skippedLines, 0) << name;
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
    EXPECT_EQ(name->month, c.month) << c.name;
    EXPECT_EQ(name->begun, c.begun) << c.name;
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
