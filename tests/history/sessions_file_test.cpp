#include "history/sessions_file.h"

#include <QBuffer>
#include <QDir>
#include <gtest/gtest.h>

#include "base/cp932.h"
#ifndef _WIN32
#include "support/disk_limit.h"
#endif
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

namespace {

MeasurementRecord Record(int day, const QString& memo, std::optional<double> rate = 2529) {
  const QDateTime start(QDate(2026, 12, day), QTime(20, 15, 7));
  return MeasurementRecord{start,        start.addSecs(5400), 4'861'000,      152, 153, 3'456'789'012.0,
                           rate,         rate ? std::optional(*rate + 300) : std::nullopt, "給与明細202612" + QString::number(day) + "2015.txt",
                           memo};
}

const QString kPath = "log/" + kSessionsFileName;

}  // namespace

TEST(SessionsFile, RecordsReadBackAsWrittenWhateverTheMemoHolds) {
  TempFolder tmp;
  const std::vector<MeasurementRecord> records{Record(1, "狩場A"), Record(2, "a, \"quoted\" one", std::nullopt),
                                               Record(3, " blanks "), Record(4, "")};
  ASSERT_FALSE(AppendRecords(tmp.Path(), {records[0], records[1]}));
  ASSERT_FALSE(AppendRecords(tmp.Path(), {records[2], records[3]}));  // the header is not repeated
  const SessionsRead read = ReadSessionsFile(tmp.Path());
  EXPECT_EQ(std::tuple(read.exists, read.records, read.damagedLines), std::tuple(true, records, 0));

  const QByteArray bytes = tmp.Read(kPath);
  EXPECT_TRUE(bytes.startsWith(EncodeCp932(RecordHeader() + "\r\n")));
  EXPECT_EQ(std::tuple(bytes.count("\r\n"), bytes.count('\n')), std::tuple(5, 5));
  EXPECT_TRUE(bytes.contains(EncodeCp932("2026/12/01 20:15:07,2026/12/01 21:45:07,1:21:01,152,153,3456789012,2529,2829,"
                                         "給与明細20261212015.txt,狩場A\r\n")));
}

TEST(SessionsFile, DamagedLinesArePassedOverAndCountedAndALineAfterAForeignEndingStartsOnItsOwn) {
  TempFolder tmp;
  const QString good = RecordLine(Record(6, "x"));
  const QStringList lines{RecordHeader(), good, "garbage", good.left(30), "", "2026/13/01 00:00:00" + good.mid(19),
                          good + ",a newer program's column", QString(good).replace("1:21:01", "1:21")};
  tmp.Write(kPath, EncodeCp932(lines.join("\r\n")));  // saved by a tool without a final line end
  ASSERT_FALSE(AppendRecord(tmp.Path(), Record(5, "two\r\nlines")));
  const SessionsRead read = ReadSessionsFile(tmp.Path());
  ASSERT_EQ(std::tuple(read.records.size(), read.damagedLines), std::tuple(4u, 3));
  EXPECT_EQ(std::tuple(read.records[2].activeMs, read.records[3].memo), std::tuple(4'860'000, QString("two lines")))
      << "a memo is one line";
}

TEST(SessionsFile, AppendingLeavesEveryEarlierByteAsItWasAndEndsATornLastLineFirst) {
  TempFolder tmp;
  // A damaged line (bytes no encoding reads), and a CR LF cut in half.
  const QByteArray before = EncodeCp932(RecordHeader() + "\r\n" + RecordLine(Record(1, "a")) + "\r\n") +
                            "\x81\xff\xfe,\r\n" + EncodeCp932(RecordLine(Record(2, "b"))) + "\r";
  tmp.Write(kPath, before);
  ASSERT_FALSE(AppendRecord(tmp.Path(), Record(9, "c")));
  EXPECT_EQ(tmp.Read(kPath), before + "\n" + EncodeCp932(RecordLine(Record(9, "c"))) + "\r\n");

  const SessionsRead recent = ReadSessionsFile(tmp.Path(), {}, Record(2, "").end);
  EXPECT_EQ(std::tuple(recent.records, recent.damagedLines), std::tuple(std::vector{Record(9, "c")}, 1));
  int calls = 0;
  const SessionsRead stopped = ReadSessionsFile(tmp.Path(), [&](qint64, qint64) { return ++calls < 3; });
  EXPECT_EQ(std::tuple(stopped.stopped, stopped.records.size()), std::tuple(true, 1u));
}

TEST(SessionsFile, ReadAPieceAtATimeTheLinesAreTheWholeFilesWhateverItIsWrittenIn) {
  const QString text = "月日 a\r\nb,狩場\r\rc\n\r\nlast";
  const QStringList expected{"月日 a", "b,狩場", "", "c", "", "last"};
  const QByteArray utf16 = "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  for (const QByteArray& bytes : {EncodeCp932(text), EncodeCp932(text + "\r\n"), "\xEF\xBB\xBF" + text.toUtf8(), utf16}) {
    EXPECT_EQ(DecodedLines(bytes), expected);
    for (const qint64 piece : {1, 2, 3, 7}) {
      QBuffer buffer;
      buffer.setData(bytes);
      buffer.open(QIODevice::ReadOnly);
      TextLineReader reader(buffer, piece);
      QStringList lines;
      while (const std::optional<QString> line = reader.Next()) lines << *line;
      EXPECT_EQ(lines, expected) << piece;
    }
  }
}

TEST(SessionsFile, NothingWrittenWhereTheFolderCannotBeMadeOrTheNameIsTaken) {
  TempFolder tmp;
  tmp.Write("blocker", "x");
  const std::optional<Notice> notice = AppendRecord(tmp.File("blocker/save"), Record(1, ""));
  EXPECT_EQ(notice, (Notice{"測定記録に書き込めません。\r\n" + QDir::toNativeSeparators(tmp.File("blocker/save/" + kPath)),
                             "測定記録書込みエラー"}));
  ASSERT_TRUE(QDir().mkpath(tmp.File(kPath)));  // a folder by the file's name
  EXPECT_TRUE(AppendRecord(tmp.Path(), Record(1, "")));
  EXPECT_TRUE(ReadSessionsFile(tmp.Path()).problem);
  EXPECT_FALSE(ReadSessionsFile(tmp.File("nowhere")).exists);
}

#ifndef _WIN32
TEST(SessionsFile, RecordsTheDiskHasNoRoomForAreNotWrittenAtAll) {
  TempFolder tmp;
  ASSERT_FALSE(AppendRecord(tmp.Path(), Record(1, "a")));
  const QByteArray before = tmp.Read(kPath);
  const auto notice = WithDiskLimit(before.size() + 200, [&] {
    return AppendRecords(tmp.Path(), {Record(2, "b"), Record(3, "c")});  // room for one and a half
  });
  EXPECT_TRUE(notice);
  EXPECT_EQ(tmp.Read(kPath), before);
  ASSERT_FALSE(AppendRecord(tmp.Path(), Record(4, "d")));
  EXPECT_EQ(ReadSessionsFile(tmp.Path()).records, (std::vector{Record(1, "a"), Record(4, "d")}));
}
#endif

TEST(SessionsFile, ASessionsRecordTakesItsBestTenMinutesFromTheChartPoints) {
  SessionFigures figures;
  figures.level = 153;
  figures.levelsGained = 2;
  figures.gained = 9'000'000;
  figures.activeMs = 5'400'000;
  figures.wholeRate = 6000;
  // The point at one minute has no ten minutes of play behind it.
  const std::vector<SessionPoint> points{{0, 0, std::nullopt},           {60'000, 500'000, 30000},
                                         {600'000, 1'000'000, 6000, true}, {1'200'000, 3'000'000, 9000, true},
                                         {1'800'000, 4'000'000, 7000, true}};
  const QDateTime start(QDate(2026, 12, 5), QTime(20, 0, 5));
  const MeasurementRecord r = RecordOfSession(start, start.addSecs(6000), figures, points, "f.txt", "狩場");
  EXPECT_EQ(std::tuple(r.levelFrom, r.levelTo, r.bestRate, r.averageRate), std::tuple(151, 153, 9000, 6000));
  EXPECT_EQ(RecordOfSession(start, start, figures, {points[1]}, "", "").bestRate, std::nullopt) << "too short for one";
}

// Values no game shows and the program never writes make a line unreadable
// (counted), without overflowing on the way.
TEST(SessionsFile, ImpossibleValuesMakeALineUnreadable) {
  const QStringList good = SplitCsvFields(RecordLine(Record(6, "x")));
  const std::pair<int, QString> cases[] = {{2, "9223372036854775807:00:00"}, {2, "1:9223372036854775807"}, {2, "30:00:00"},
      {3, QString("15") + QChar(0) + "2"}, {3, "-5"}, {4, "2147483647"}, {5, "1e308"}, {7, "-2e297"},
      {0, "-292274999/01/01 00:00:00"}};
  for (const auto& [field, value] : cases) {
    QStringList fields = good;
    fields[field] = value;
    EXPECT_FALSE(ParseRecordLine(fields.join(',')).has_value()) << value.toStdString();
  }
}
