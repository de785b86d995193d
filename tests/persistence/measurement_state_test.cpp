#include "persistence/measurement_state.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "base/cp932.h"
#ifndef _WIN32
#include "support/disk_limit.h"
#include "support/fifo_watch.h"
#endif
#include "support/temp_folder.h"

namespace {

// 14:30:20 in Tokyo: the file keeps the moment, in UTC.
const MeasurementState kState{"202612051430", QDateTime(QDate(2026, 12, 5), QTime(14, 30, 20), Qt::OffsetFromUTC, 9 * 3600),
                              190, 1234567890, {}, std::nullopt};

TEST(MeasurementState, IsSavedAsShiftJisLinesWithItsTimeInUtcAndReadBack) {
  TempFolder folder;
  ASSERT_TRUE(SaveMeasurementState(folder.Path(), kState));
  EXPECT_EQ(folder.Read("TmMeasure.ini"),
            EncodeCp932("Tallymeter measurement 1\r\n202612051430 , ログファイル\r\n2026/12/05 05:30:20 UTC , 最終読取\r\n"
                        "190 , Lv\r\n1234567890 , Exp\r\n"));
  const StoredMeasurement stored = ReadMeasurementState(folder.Path());
  EXPECT_EQ(stored.kind, StoredMeasurement::Kind::Usable);
  EXPECT_EQ(stored.state, kState);
  ClearMeasurementState(folder.Path());
  EXPECT_EQ(ReadMeasurementState(folder.Path()).kind, StoredMeasurement::Kind::None);

  // A file of the earlier version kept the local time without a zone.
  folder.Write("TmMeasure.ini", EncodeCp932(MeasurementStateText(kState)).replace("05:30:20 UTC", "14:30:20"));
  EXPECT_EQ(ReadMeasurementState(folder.Path()).state->lastReading, QDateTime(QDate(2026, 12, 5), QTime(14, 30, 20)));

  // The record so far is a line of its own; its memo may hold commas and
  // quotes: the label follows the last comma.
  MeasurementState state = kState;
  state.recordSoFar = QStringLiteral("2026/12/05 14:00:00,2026/12/05 14:30:20,0:30:00,190,190,5000,10,12,a.txt,\"北, \"\"東\"\"\"");
  state.recordReading = {190, 1234567000.5, kState.lastReading.addMSecs(-10'250)};
  ASSERT_TRUE(SaveMeasurementState(folder.Path(), state));
  EXPECT_EQ(ReadMeasurementState(folder.Path()).state, state);
#ifndef _WIN32
  // The disk fills up part way through: writes beyond 40 bytes fail, and the
  // signal that would end the process is ignored meanwhile.
  EXPECT_FALSE(WithDiskLimit(40, [&] { return SaveMeasurementState(folder.Path(), kState); }));
  EXPECT_EQ(ReadMeasurementState(folder.Path()).state, state) << "the last good file stays";
#endif
}

TEST(MeasurementState, SomethingThatIsNotAPlainFileIsNeverOpened) {
  TempFolder folder;
  const QString path = MeasurementStatePath(folder.Path());
  ASSERT_TRUE(QDir().mkpath(path));
  EXPECT_EQ(ReadMeasurementState(folder.Path()).kind, StoredMeasurement::Kind::Damaged) << "a folder";
  ASSERT_TRUE(QDir().rmdir(path));
  {
    QFile huge(path);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64{2} << 30));
  }
  EXPECT_EQ(ReadMeasurementState(folder.Path()).kind, StoredMeasurement::Kind::Damaged) << "2 GiB";
  ASSERT_TRUE(QFile::remove(path));
#ifndef _WIN32
  FifoWatch pipe(path);
  ASSERT_TRUE(pipe.Made());
  EXPECT_EQ(ReadMeasurementState(folder.Path()).kind, StoredMeasurement::Kind::Damaged) << "a pipe";
  EXPECT_FALSE(pipe.Opened());
#endif
}

TEST(MeasurementState, AnythingNotWrittenWholeByUsIsDamagedAndSetAside) {
  const QByteArray good = EncodeCp932(MeasurementStateText(kState));
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty", ""},
      {"cut short", good.left(good.size() - 20)},
      {"another format", QByteArray(good).replace("measurement 1", "measurement 2")},
      {"stamp not 12 digits", QByteArray(good).replace("202612051430", "20261205143")},
      {"time unreadable", QByteArray(good).replace("05:30:20", "05:3O:20")},
      {"level 0", QByteArray(good).replace("190 ,", "0 ,")},
      {"experience negative", QByteArray(good).replace("1234567890", "-1234567890")},
      {"experience with a fraction", QByteArray(good).replace("1234567890", "1234567890.5")},
      {"a line twice", good + "190 , Lv\r\n"},
      {"not Shift_JIS", QByteArray(good).replace("Lv", "L\x81")},
      {"much too long", good + QByteArray(5000, ' ')},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    TempFolder folder;
    folder.Write("TmMeasure.ini", bytes);
    EXPECT_EQ(ReadMeasurementState(folder.Path()).kind, StoredMeasurement::Kind::Damaged);
    EXPECT_EQ(SetAsideMeasurementState(folder.Path()), folder.File("TmMeasure.ini.bad"));
    EXPECT_EQ(ReadMeasurementState(folder.Path()).kind, StoredMeasurement::Kind::None);
    EXPECT_EQ(folder.Read("TmMeasure.ini.bad"), bytes);
  }
}

}  // namespace
