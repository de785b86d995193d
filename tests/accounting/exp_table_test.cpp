#include "accounting/exp_table.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "accounting/exp_table_file.h"
#include "base/cp932.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"
#ifndef _WIN32
#include "support/fifo_watch.h"
#endif

namespace {

const QString kDelivered = QStringLiteral(TALLYMETER_SOURCE_DIR "/system/") + kExpTableFileName;

TEST(ExpTableTest, TheCompiledLevelsAndWhatTheyAnswer) {
  const ExpTable& table = *CompiledExpTable();
  std::int64_t sum = 0, weighted = 0;  // the weighted sum catches swapped levels too
  for (std::int32_t level = 1; level <= kCompiledTopLevel; ++level) {
    sum += table.Size(level).value_or(0);
    weighted += level * table.Size(level).value_or(0);
  }
  EXPECT_EQ(std::tuple(sum, weighted), std::tuple(38'703'372'284, 6'996'687'855'456));
  // Level 199's size: the guard and the session used to disagree here.
  EXPECT_EQ(std::tuple(table.Total(10, 1'700), table.Total(199, 0), table.Size(199), table.Total(0, 500),
                       table.Size(200)),
            std::tuple(5'047.0, 36'692'302'490.0, 2'011'069'794, std::nullopt, std::nullopt));
  // Across level-ups a gain needs every finished level's size; within one, none.
  EXPECT_EQ(std::tuple(table.Gain(10, 1'700, 11, 100), table.Gain(11, 100, 10, 1'700), table.Gain(250, 4e12, 250, 5e12),
                       table.Gain(199, 5, 201, 5)),
            std::tuple(116.0, -116.0, 1e12, std::nullopt));
}

TEST(ExpTableFileTest, TheDeliveredFileIsShiftJisCrLfAndRisesToLevel299) {
  QFile file(kDelivered);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.count('\n') == bytes.count("\r\n") && bytes.endsWith("\r\n"));
  EXPECT_EQ(EncodeCp932(DecodeCp932(bytes)), bytes);

  const LoadedExpTable loaded = LoadExpTable(QStringLiteral(TALLYMETER_SOURCE_DIR));
  const ExpTable& table = *loaded.table;
  for (std::int32_t level = 1; level < kTopLevel; ++level) ASSERT_TRUE(table.Size(level)) << level;
  // No notice, no fall, and every total up to the cap stays exact.
  EXPECT_EQ(std::tuple(loaded.notices.size(), table.FirstFall(), table.Size(200), table.Size(250), table.Size(299),
                       table.Total(300, 0)),
            std::tuple(0u, std::nullopt, 2'207'026'470, 442'457'484'960, 1'737'759'854'037'637,
                       8'514'049'856'760'389.0));
}

class PlayerTable : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath(folder.File("system"));
    ASSERT_TRUE(QFile::copy(kDelivered, folder.File("system/") + kExpTableFileName));
    delivered = *LoadExpTable(folder.Path()).table;
  }
  void WriteOwn(const QByteArray& text) const { folder.Write(kExpTableFileName, text); }
  TempFolder folder;
  ExpTable delivered;
};

TEST_F(PlayerTable, TheirLinesOverrideAndExtendTheDeliveredOnes) {
  WriteOwn("# after the update\r\n250 , 450000000000\n  300,1800000000000000  \r\n\r\n");
  const LoadedExpTable loaded = LoadExpTable(folder.Path());
  EXPECT_TRUE(loaded.notices.empty());
  EXPECT_EQ(std::tuple(loaded.table->Size(250), loaded.table->Size(251), loaded.table->Size(300)),
            std::tuple(450'000'000'000, delivered.Size(251), 1'800'000'000'000'000));
}

TEST_F(PlayerTable, AFileThatCannotBeUsedIsToldOnceAndTheDeliveredTableGoesOn) {
  const struct {
    const char* what;
    QByteArray text;
    const char* told;
  } cases[] = {
      {"falls", "250 , 442457484960\r\n251 , 100\r\n", "レベル251"},
      {"level 301", "301 , 5\r\n", "1行目"},
      {"no experience", "250 , 0\r\n", "1～9007199254740991"},
      {"beyond an exact double", "250 , 9007199254740992\r\n", "範囲外"},
      {"three fields", "250 , 5 , 6\r\n", "形ではありません"},
      {"a grouped number", "250 , 442,457,484,960\r\n", "形ではありません"},
      {"a level twice", "250 , 500000000000\r\n250 , 500000000000\r\n", "2回"},
      {"notes only", "; nothing yet\r\n", "ひとつもありません"},
      {"ten megabytes", QByteArray(10 * 1024 * 1024, ';'), "大きすぎます"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteOwn(c.text);
    const LoadedExpTable loaded = LoadExpTable(folder.Path());
    ASSERT_EQ(loaded.notices.size(), 1u);
    EXPECT_TRUE(loaded.notices[0].text.contains(QString::fromUtf8(c.told))) << loaded.notices[0].text.toStdString();
    EXPECT_TRUE(loaded.notices[0].text.contains(QStringLiteral("同梱の経験値表で続けます")));
    EXPECT_EQ(*loaded.table, delivered);
  }
}

TEST_F(PlayerTable, NeitherAFolderNorAPipeInTheFilesPlaceIsOpened) {
  QDir().mkpath(folder.File(kExpTableFileName));
  LoadedExpTable loaded = LoadExpTable(folder.Path());
  EXPECT_EQ(std::tuple(loaded.notices.size(), *loaded.table), std::tuple(1u, delivered));
#ifndef _WIN32
  QDir(folder.File(kExpTableFileName)).removeRecursively();
  const FifoWatch pipe(folder.File(kExpTableFileName));
  ASSERT_TRUE(pipe.Made());
  loaded = LoadExpTable(folder.Path());
  EXPECT_FALSE(pipe.Opened());
  EXPECT_EQ(std::tuple(loaded.notices.size(), *loaded.table), std::tuple(1u, delivered));
#endif
}

TEST_F(PlayerTable, ADamagedDeliveredFileLeavesTheCompiledLevels) {
  folder.Write("system/" + kExpTableFileName, "200 , 1\r\n");  // below level 199
  const LoadedExpTable loaded = LoadExpTable(folder.Path());
  ASSERT_EQ(loaded.notices.size(), 1u);
  EXPECT_TRUE(loaded.notices[0].text.contains(QStringLiteral("Lv200以上")));
  EXPECT_EQ(*loaded.table, *CompiledExpTable());
  // A missing one is told as well, not only traced.
  ASSERT_TRUE(QFile::remove(folder.File("system/" + kExpTableFileName)));
  const std::vector<Notice> missing = LoadExpTable(folder.Path()).notices;
  EXPECT_TRUE(missing.size() == 1 && missing[0].text.contains(QStringLiteral("見つかりません。\r\n")) &&
              missing[0].text.endsWith(QStringLiteral("Lv200以上は、このファイルがないと計測できません。")));
}

}  // namespace
