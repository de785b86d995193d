#include "accounting/misread_guard.h"

#include <gtest/gtest.h>

#include "accounting/exp_table_file.h"
#include "support/qstring_printer.h"

namespace {

using V = GuardVerdict;
constexpr std::int64_t kMinute = 60'000;

TEST(MisreadGuard, TwoAgreeingImplausibleReadingsAreAcceptedAndOneThatReturnsToNormalIsNot) {
  MisreadGuard guard;
  guard.Check(152, 50'000'000, 0);
  guard.Check(152, 52'000'000, 10 * kMinute);
  EXPECT_EQ(guard.Check(152, 94'100'000, 20 * kMinute), V::Implausible);
  EXPECT_EQ(guard.Check(152, 94'200'000, 20 * kMinute + 15'000), V::Confirmed) << "an item, say";
  EXPECT_EQ(guard.Check(152, 94'300'000, 30 * kMinute), V::Plausible) << "weighed from the confirmed one";

  EXPECT_EQ(guard.Check(152, 14'300'000, 40 * kMinute), V::Implausible);
  EXPECT_EQ(guard.Check(152, 94'400'000, 40 * kMinute + 15'000), V::Plausible) << "back to normal: the suspect goes";
  EXPECT_EQ(guard.Check(152, 14'400'000, 50 * kMinute), V::Implausible);
  EXPECT_EQ(guard.Check(132, 94'400'000, 50 * kMinute + 15'000), V::Implausible) << "two different misreads";
  EXPECT_EQ(guard.Check(132, 94'400'000, 50 * kMinute + 30'000), V::Implausible)
      << "the same misread of an unchanged screen proves nothing";
  EXPECT_EQ(guard.Check(132, 94'400'100, 50 * kMinute + 45'000), V::Implausible)
      << "the experience moving vouches for no level";
  EXPECT_EQ(guard.Check(132, 94'400'200, 51 * kMinute), V::Rebased) << "the third from a changed screen";
  EXPECT_EQ(guard.Check(132, 94'500'000, 52 * kMinute), V::Plausible) << "measured on from the new base";
}

// 150 5,009,100 read as 9,100 for as long as the dropped digits stay
// dropped: a loss is never confirmed where a death costs nothing, with the
// guard on or off; only the third reading from a changing screen is a base.
TEST(MisreadGuard, ALossIsNeverConfirmedAndOnlyThreeAgreeingReadingsFromChangingScreensMakeANewBase) {
  for (const bool allRules : {true, false}) {
    SCOPED_TRACE(allRules);
    MisreadGuard guard;
    const auto check = [&](double exp, std::int64_t ms) {
      return guard.Check(150, exp, ms, DeathPenalty::None, allRules);
    };
    check(5'009'000, 0);
    const std::pair<double, GuardVerdict> rows[] = {
        {9'100, V::Implausible}, {9'200, V::Implausible}, {9'200, V::Implausible},  // a still screen proves nothing
        {5'009'300, V::Plausible}, {9'400, V::Implausible}, {9'300, V::Implausible},  // losing again: a new row
        {9'500, V::Implausible}, {9'600, V::Rebased}, {9'700, V::Plausible}};
    std::int64_t ms = 0;
    for (const auto& [exp, verdict] : rows) EXPECT_EQ(check(exp, ms += 15'000), verdict) << std::fixed << exp;
  }
}

TEST(MisreadGuard, ALossAtTheSameLevelPassesOnlyWhereADeathStillCostsExperience) {
  const DeathPenalty death = DeathPenalty::UpToATenth;
  MisreadGuard guard;
  guard.Check(152, 50'000'000, 0, death);
  EXPECT_EQ(guard.Check(152, 42'000'000, kMinute, death), V::Plausible) << "8 M: within a tenth of 163,844,343";
  EXPECT_EQ(guard.Check(152, 22'000'000, 2 * kMinute, death), V::Implausible) << "20 M: more than a death costs";
  EXPECT_EQ(guard.Check(152, 42'000'100, 3 * kMinute), V::Plausible);
  EXPECT_EQ(guard.Check(152, 42'000'000, 4 * kMinute), V::Implausible) << "today's game: 100 lost is a misread";
}

// The reading ten minutes after two that set a rate. Level 152 needs
// 163,844,343. At level 199 the guard once knew no size (it asked for level
// 200's total) and let every misread through; level 250 needs the delivered table.
TEST(MisreadGuard, JudgesTheReadingAfterARate) {
  const auto table = LoadExpTable(QStringLiteral(TALLYMETER_SOURCE_DIR)).table;
  const struct {
    std::int32_t level;
    double first, second;  // ten minutes apart
    std::int32_t readLevel;
    double readExp;  // ten minutes later, where play would be second + (second − first)
    GuardVerdict verdict;
  } cases[] = {
      {152, 50'000'000, 52'000'000, 152, 54'100'000, V::Plausible},
      {152, 50'000'000, 52'000'000, 152, 52'000'000, V::Plausible},   // nothing gained
      {152, 50'000'000, 52'000'000, 152, 94'100'000, V::Implausible},  // first digit 5 as 9: +42 M
      {152, 50'000'000, 52'000'000, 152, 14'100'000, V::Implausible},  // 5 as 1: a quarter of the level lost
      {152, 50'000'000, 52'000'000, 152, 541'000'000, V::Implausible},  // a digit too many: beyond the size
      {152, 50'000'000, 52'000'000, 152, 59'100'000, V::Plausible},    // 4 as 9: +7 M is within reach
      {152, 50'000'000, 52'000'000, 152, 44'000'000, V::Implausible},  // 8 M lost: a death costs nothing today
      {152, 50'000'000, 52'000'000, 132, 54'100'000, V::Implausible},  // level, middle digit
      {152, 50'000'000, 52'000'000, 153, 54'100'000, V::Implausible},  // level, last digit: a level in 10 min
      {152, 50'000'000, 52'000'000, 752, 54'100'000, V::Implausible},  // level beyond the table
      // A level-up: 5,844,343 to finish level 152 and 3,000,000 into level 153.
      {152, 156'000'000, 158'000'000, 153, 3'000'000, V::Plausible},
      {199, 1'000'000'000, 1'020'000'000, 199, 1'040'000'000, V::Plausible},
      {199, 1'000'000'000, 1'020'000'000, 199, 2'040'000'000, V::Implausible},  // first digit: beyond the size
      {199, 1'000'000'000, 1'020'000'000, 199, 1'940'000'000, V::Implausible},  // second digit
      {199, 1'000'000'000, 1'020'000'000, 199, 40'000'000, V::Implausible},     // first digit lost
      {199, 1'000'000'000, 1'020'000'000, 200, 1'040'000'000, V::Implausible},  // level, last digit
      {250, 100'000'000'000, 101'000'000'000, 250, 102'000'000'000, V::Plausible},
      {250, 100'000'000'000, 101'000'000'000, 250, 402'000'000'000, V::Implausible},    // first digit
      {250, 100'000'000'000, 101'000'000'000, 250, 152'000'000'000, V::Implausible},    // second digit
      {250, 100'000'000'000, 101'000'000'000, 250, 10'200'000'000, V::Implausible},     // a digit lost
      {250, 100'000'000'000, 101'000'000'000, 250, 1'020'000'000'000, V::Implausible},  // a digit too many
      {250, 100'000'000'000, 101'000'000'000, 251, 102'000'000'000, V::Implausible},    // level, last digit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.readLevel << " " << std::fixed << c.readExp);
    MisreadGuard guard;
    guard.SetExpTable(table);
    ASSERT_EQ(guard.Check(c.level, c.first, 0), V::Plausible);
    ASSERT_EQ(guard.Check(c.level, c.second, 10 * kMinute), V::Plausible);
    EXPECT_EQ(guard.Check(c.readLevel, c.readExp, 20 * kMinute), c.verdict);
  }
}

TEST(MisreadGuard, AFirstReadingBeyondItsLevelNeedsASecondAndThenTheTableIsNotHeldAgainstIt) {
  MisreadGuard guard;
  EXPECT_EQ(guard.Check(152, 1'234'567'890, 0), V::Implausible);
  EXPECT_EQ(guard.Check(152, 1'234'568'000, 15'000), V::Confirmed) << "risen a little since";
  EXPECT_EQ(guard.Check(152, 1'234'600'000, 20 * kMinute), V::Plausible);
  guard.Reset();
  EXPECT_EQ(guard.Check(152, 1'234'600'000, 30 * kMinute), V::Implausible) << "a new measurement asks again";
  EXPECT_EQ(guard.Check(152, 100, 30 * kMinute + 15'000), V::Plausible);
}

TEST(MisreadGuard, BeyondTheTableGainsWithinALevelAreStillWeighed) {
  MisreadGuard guard;  // the compiled table: nothing known of level 250
  guard.Check(250, 100'000'000'000, 0);
  guard.Check(250, 101'000'000'000, 10 * kMinute);
  EXPECT_EQ(guard.Check(250, 402'000'000'000, 20 * kMinute), V::Implausible);
  EXPECT_EQ(guard.Check(251, 5, 21 * kMinute), V::Plausible) << "a level-up it cannot measure is left to evaluation";
  EXPECT_EQ(guard.Check(2'510, 5, 22 * kMinute), V::Implausible) << "beyond the cap";
}

TEST(MisreadGuard, AResumedReadingIsWeighedWithoutARate) {
  MisreadGuard guard;
  guard.Resume(152, 50'000'000, -3 * kMinute);
  EXPECT_EQ(guard.Check(152, 90'000'000, 0), V::Plausible) << "no rate yet: only the table and the level";
  EXPECT_EQ(guard.Check(151, 90'000'000, kMinute), V::Implausible);
}

}  // namespace
