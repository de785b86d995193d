#include "accounting/percent_reading.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

namespace {

constexpr std::int64_t kLevel250 = 442'457'484'960;
constexpr std::int64_t kLevel299 = 1'737'759'854'037'637;

TEST(PercentReading, APercentageBecomesExperienceThroughTheLevelsSizeRoundedDownExactly) {
  const struct {
    double digits;
    std::int32_t decimals;
    std::optional<std::int64_t> size;
    double exp;
    bool sizeUnknown;
  } cases[] = {
      {45'678, -1, kLevel250, 45'678, false},  // the classic counter: the digits are the experience
      {45'678, 7, std::nullopt, 45'678, false},  // a setting no dialog offers counts as classic
      {45'678, 3, kLevel250, 202'105'729'980, false},                // 45.678 %
      {45, 0, kLevel250, 199'105'868'232, false},                    // 45 %
      {99'999'999, 6, kLevel299, 1'737'759'836'660'038, false},      // beyond a double's product
      {821, 3, kLevel299, 14'267'008'401'648, false},  // a double's product would round up here
      {100'000, 3, kLevel250, 0, false},  // 100 % cannot be shown: not read
      {0, 3, kLevel250, 0, false},
      {45'678, 3, std::nullopt, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.digits << " with " << c.decimals);
    const ExpFromArea read = ExperienceFromArea(c.digits, c.decimals, c.size);
    EXPECT_EQ(read.exp, c.exp);
    EXPECT_EQ(read.sizeUnknown, c.sizeUnknown);
  }
  // Where the point stands decides; without it, the count of digits.
  const std::tuple<const char*, std::int32_t, bool> shown[] = {
      {"45678", 3, true}, {"5678", 3, true},   {"678", 3, false},  {"456789", 3, false}, {"45.678", 3, true},
      {"45.67", 3, false}, {"4.5678", 3, false}, {"45", 0, true}, {"456.7", 1, false}};
  for (const auto& [text, decimals, agrees] : shown) EXPECT_EQ(DecimalsAgree(text, decimals), agrees) << text;
  EXPECT_TRUE(ExperienceOfReading(250, 4567, 3, *CompiledExpTable(), QStringLiteral("45.67")).decimalsDisagree);
  EXPECT_EQ(PercentDecimalsStep("45.67", 3, QDateTime(QDate(2026, 12, 7), QTime(9, 5))).screenLine,
            QStringLiteral("12/07 09:05  認識失敗  ExpNG 「45.67」は小数3桁の%表示に合いません"));
  const EvaluationStep step = PercentWithoutSizeStep(250, QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
  EXPECT_EQ(step.screenLine, QStringLiteral("12/07 09:05  測定不可  Lv250の経験値が経験値表になく、%表示を換算できません"));
  EXPECT_FALSE(step.fileLine);
  EXPECT_FALSE(step.retrySoon);
}

}  // namespace
