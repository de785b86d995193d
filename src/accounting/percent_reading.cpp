#include "accounting/percent_reading.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

#include "base/display_text.h"

ExpFromArea ExperienceFromArea(double digits, std::int32_t percentDecimals, std::optional<std::int64_t> levelSize) {
  if (!ShowsPercent(percentDecimals)) return {digits, false};
  if (!std::isfinite(digits) || digits <= 0) return {};
  // The digits are the percentage times 10^decimals; a whole level is 100 %.
  std::int64_t whole = 100;
  for (std::int32_t i = 0; i < percentDecimals; ++i) whole *= 10;
  if (digits >= static_cast<double>(whole)) return {};
  if (!levelSize) return {0, true};
  // floor(digits × size ÷ whole) without leaving 64 bits: size = q × whole + r,
  // so the product is digits × q × whole + digits × r, and digits × r stays
  // below whole², at most 10^16.
  const auto d = static_cast<std::int64_t>(digits);
  const std::int64_t q = *levelSize / whole;
  const std::int64_t r = *levelSize % whole;
  const std::int64_t exp = d * q + d * r / whole;  // the division rounds down, as it must
  return {static_cast<double>(exp), false};
}

bool DecimalsAgree(const QString& shown, std::int32_t percentDecimals) {
  const qsizetype point = shown.indexOf(u'.');
  if (point >= 0) return point >= 1 && point <= 2 && shown.size() - point - 1 == percentDecimals;
  const auto digits = std::count_if(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); });
  return digits >= percentDecimals + 1 && digits <= percentDecimals + 2;
}

ExpFromArea ExperienceOfReading(std::int32_t level, double digits, std::int32_t percentDecimals,
                                const ExpTable& table, const QString& shown) {
  if (level < 1 || level > kTopLevel) return {digits, false};
  if (ShowsPercent(percentDecimals) && !shown.isEmpty() && digits > 0 && !DecimalsAgree(shown, percentDecimals)) {
    return {0, false, true};
  }
  return ExperienceFromArea(digits, percentDecimals, table.Size(level));
}

EvaluationStep PercentWithoutSizeStep(std::int32_t level, const QDateTime& now) {
  EvaluationStep step;
  // On screen only: in the language of the windows.
  step.screenLine = LogDateText(now) +
                    QCoreApplication::translate("ScreenLog", "  測定不可  Lv%1の経験値が経験値表になく、%表示を換算できません")
                        .arg(level);
  step.scrollToEnd = true;
  step.traceMessage = QStringLiteral(" ImageRecognition percent without level size");
  return step;
}

EvaluationStep PercentDecimalsStep(const QString& shown, std::int32_t percentDecimals, const QDateTime& now) {
  EvaluationStep step;
  step.screenLine = LogDateText(now) + QStringLiteral("  認識失敗  ") +
                    QStringLiteral("ExpNG 「%1」は小数%2桁の%表示に合いません").arg(shown).arg(percentDecimals);
  step.scrollToEnd = true;
  step.retrySoon = true;
  step.traceMessage = QStringLiteral(" ImageRecognition percent decimals mismatch");
  return step;
}
