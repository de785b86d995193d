#include "history/history_store.h"

#include <gtest/gtest.h>

#include "history/logged_play.h"
#include "history/sessions_file.h"
#include "support/temp_folder.h"

TEST(HistoryStore, TheLogsAreImportedOnceAndKeptFromThenOn) {
  TempFolder tmp;
  Program program(tmp.Path(), true, false);
  PlayFourMeasurements(program);
  const std::vector<MeasurementRecord> logged = Expected(true, false);

  const HistoryLoad first = OpenHistory(tmp.Path());
  EXPECT_EQ(first.records, logged);
  EXPECT_EQ(first.imported, 4);
  EXPECT_FALSE(first.notice);
  EXPECT_EQ(ReadSessionsFile(tmp.Path()).records, logged);

  const HistoryLoad again = OpenHistory(tmp.Path());
  EXPECT_EQ(again.records, logged);
  EXPECT_EQ(again.imported, 0);
  EXPECT_EQ(ImportLogsAgain(tmp.Path(), again.records).imported, 0);
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
