#include "persistence/measurement_state.h"

#include <QFile>
#include <gtest/gtest.h>


#include "base/cp932.h"
#ifndef _WIN32
#include "support/disk_limit.h"
#endif
#include "support/temp_folder.h"

namespace {

const MeasurementState kState{"202612051430", QDateTime(QDate(2026, 12, 5), QTime(14, 30, 20)), 190, 1234567890};

TEST(MeasurementState, IsSavedAsShiftJisLinesAndReadBack) {
  TempFolder folder;
  ASSERT_TRUE(SaveMeasurementState(folder.Path(), kState));
  EXPECT_EQ(folder.Read("TmMeasure.ini"),
            EncodeCp932("Tallymeter measurement 1\r\n202612051430 , ログファイル\r\n2026/12/05 14:30:20 , 最終読取\r\n"
                        "190 , Lv\r\n1234567890 , Exp\r\n"));
  const StoredMeasurement stored = ReadMeasurementState(folder.Path());
  EXPECT_EQ(stored.kind, StoredMeasurement::Kind::Usable);
  EXPECT_EQ(stored.state, kState);
  ClearMeasurementState(folder.Path());
  EXPECT_EQ(ReadMeasurementState(folder.Path()).kind, StoredMeasurement::Kind::None);
}

TEST(MeasurementState, AnythingNotWrittenWholeByUsIsDamagedAndSetAside) {
  const QByteArray good = EncodeCp932(MeasurementStateText(kState));
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty", ""},
      {"cut short", good.left(good.size() - 20)},
      {"another format", QByteArray(good).replace("measurement 1", "measurement 2")},
      {"stamp not 12 digits", QByteArray(good).replace("202612051430", "20261205143")},
      {"stamp no date", QByteArray(good).replace("202612051430", "202613051430")},
      {"time unreadable", QByteArray(good).replace("14:30:20", "14:3O:20")},
      {"level 0", QByteArray(good).replace("190 ,", "0 ,")},
      {"level not a number", QByteArray(good).replace("190 ,", "19O ,")},
      {"experience negative", QByteArray(good).replace("1234567890", "-1234567890")},
      {"experience with a fraction", QByteArray(good).replace("1234567890", "1234567890.5")},
      {"a line twice", good + "190 , Lv\r\n"},
      {"an unknown line", good + "1 , 未知\r\n"},
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

#ifndef _WIN32
TEST(MeasurementState, AFailedSaveLeavesTheLastGoodFile) {
  TempFolder folder;
  ASSERT_TRUE(SaveMeasurementState(folder.Path(), kState));
  // The disk fills up part way through: writes beyond 40 bytes fail, and the
  // signal that would end the process is ignored meanwhile.
  MeasurementState later = kState;
  later.exp += 1000;
  const bool written = WithDiskLimit(40, [&] { return SaveMeasurementState(folder.Path(), later); });
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadMeasurementState(folder.Path()).state, kState);
}
#endif

}  // namespace
