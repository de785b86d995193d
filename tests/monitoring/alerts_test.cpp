#include "monitoring/alerts.h"

#include <gtest/gtest.h>

namespace {

using Game = AlertEvent::Game;
using Reading = AlertEvent::Reading;
constexpr std::int64_t kMinute = 60'000;

// `exp` at level 250, or `point` as given.
AlertEvent At(double minutes, Game game, Reading reading = Reading::None, std::optional<double> exp = {},
              std::optional<ReadingPoint> point = {}) {
  if (exp) point = ReadingPoint{250, *exp};
  return {static_cast<std::int64_t>(minutes * kMinute), game, reading, point};
}

TEST(Alerts, NothingIsRaisedWhileStoppedAndStartBeginsEveryCountAfresh) {
  AlertMonitor alerts;
  EXPECT_TRUE(alerts.Feed(At(60, Game::Missing), 5).empty());
  alerts.Start(0);
  EXPECT_TRUE(alerts.Feed(At(4, Game::Missing), 5).empty());
  alerts.Stop();
  alerts.Start(10 * kMinute);
  EXPECT_TRUE(alerts.Feed(At(10, Game::Behind), 5).empty()) << "the away time before Stop is gone";
  EXPECT_TRUE(alerts.Feed(At(14.9, Game::Missing), 5).empty()) << "gone and behind count as one stretch";
  EXPECT_EQ(alerts.Feed(At(15, Game::Behind), 5), (std::vector<AlertChange>{{AlertKind::GameAway, true}}));
  alerts.Stop();
  EXPECT_FALSE(alerts.AnyActive());

  // A minute count below one counts as one.
  alerts.Start(20 * kMinute);
  EXPECT_TRUE(alerts.Feed(At(20, Game::Behind), 0).empty());
  EXPECT_TRUE(alerts.Feed(At(20.9, Game::Behind), 0).empty());
  EXPECT_EQ(alerts.Feed(At(21.1, Game::Behind), -3).size(), 1u);
  EXPECT_EQ(AlertText(AlertKind::NoGain, 0), QStringLiteral("経験値が1分間増えていません"));
}

TEST(Alerts, OnlyAReadingCanTellThatExperienceStoppedRising) {
  AlertMonitor alerts;
  alerts.Start(0);
  EXPECT_TRUE(alerts.Feed(At(30, Game::InFront, Reading::Ok, 1000), 5).empty())
      << "the first reading, however late, only starts the count";
  EXPECT_TRUE(alerts.Feed(At(34, Game::InFront, Reading::Ok, 1000), 5).empty());
  EXPECT_TRUE(alerts.Feed(At(36, Game::InFront), 5).empty()) << "a tick without a reading accuses nobody";
  EXPECT_EQ(alerts.Feed(At(36, Game::InFront, Reading::Ok, 900), 5), (std::vector<AlertChange>{{AlertKind::NoGain, true}}))
      << "a loss is no rise";
  EXPECT_EQ(alerts.Feed(At(37, Game::InFront, Reading::Ok, 950), 5), (std::vector<AlertChange>{{AlertKind::NoGain, false}}))
      << "back up: cleared";
  EXPECT_TRUE(alerts.Feed(At(43, Game::InFront, Reading::Ok, {}, ReadingPoint{251, 10}), 5).empty())
      << "a level-up is a rise, with no table needed";
}

TEST(Alerts, FailedAndImplausibleReadingsCountTogetherAndAnOkReadingEndsTheRow) {
  AlertMonitor alerts;
  alerts.Start(0);
  alerts.Feed(At(1, Game::InFront, Reading::Failed), 5);
  alerts.Feed(At(2, Game::InFront, Reading::Implausible), 5);
  alerts.Feed(At(2.5, Game::InFront), 5);  // ticks in between do not break the row
  EXPECT_EQ(alerts.Feed(At(3, Game::InFront, Reading::Failed), 5),
            (std::vector<AlertChange>{{AlertKind::RecognitionTrouble, true}}));
  EXPECT_TRUE(alerts.Feed(At(4, Game::InFront, Reading::Failed), 5).empty());
  EXPECT_EQ(alerts.Feed(At(5, Game::InFront, Reading::Ok, 10), 5),
            (std::vector<AlertChange>{{AlertKind::RecognitionTrouble, false}}));
  alerts.Feed(At(6, Game::InFront, Reading::Failed), 5);
  EXPECT_TRUE(alerts.Feed(At(7, Game::InFront, Reading::Failed), 5).empty()) << "two since the last good one";
}

}  // namespace
