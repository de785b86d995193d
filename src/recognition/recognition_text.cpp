#include "recognition/recognition_text.h"

#include <QCoreApplication>

#include "base/counter_reading.h"
#include "base/number_text.h"

namespace {

QString Score(int score) { return QStringLiteral("%1 ").arg(score, 4); }

constexpr int kLongestLevel = 9;  // 999999999 still fits a 32-bit integer

// The value of a digit string. Up to 19 digits fit 64 bits exactly, and
// converting that integer rounds as strtod rounds the digits, so the result
// is ParseNumber's; the general parser (a locale switch and strtod, far more
// than the scan itself costs) is left for anything longer or not digits.
double DigitsValue(const QString& digits) {
  constexpr qsizetype kExactDigits = 19;
  if (digits.size() > kExactDigits) return ParseNumber(digits);
  std::uint64_t value = 0;
  for (const QChar c : digits) {
    const char16_t u = c.unicode();
    if (u < u'0' || u > u'9') return ParseNumber(digits);
    value = value * 10 + (u - u'0');
  }
  return static_cast<double>(value);
}

}  // namespace

QString ColumnHeading(long long x) {
  return QStringLiteral("X:%1 Y:").arg(x, 2, 10, QLatin1Char('0'));
}

QString DigitEntry(int digit, int score) { return QStringLiteral(" %1:").arg(digit) + Score(score); }

QString DelimiterEntry(int area, int score) { return QStringLiteral(" D%1:").arg(area) + Score(score); }

QString RecognizingCaption() {
  //: Shown in place of the number while it is being read
  return QCoreApplication::translate("Recognition", "認識中…");
}

QString FailedCaption() {
  //: Shown in place of a number that could not be read
  return QCoreApplication::translate("Recognition", "認識NG");
}

QString OtherGlyph() { return QStringLiteral("(形が違う) "); }

QString DigitResult(int digit) { return QStringLiteral(" 認識結果:%1\r\n").arg(digit); }

QString DelimiterResult() { return QStringLiteral(" 認識結果:デリミタ\r\n"); }

QString NoResult() { return QStringLiteral(" 認識結果:なし\r\n"); }

QString UnreadInkResult(const QString& reason) { return QStringLiteral("認識NG:") + reason + QStringLiteral("\r\n"); }

void SetReadings(RecognitionResult& result) {
  const std::array<QString, 2>& digits = result.digits;
  const bool levelTooLong = digits[0].size() > kLongestLevel;
  const double level = levelTooLong || !result.failures[0].isEmpty() ? 0.0 : DigitsValue(digits[0]);
  result.level = static_cast<std::int32_t>(level);
  result.exp = result.failures[1].isEmpty() ? DigitsValue(digits[1]) : 0.0;
  const std::array<bool, 2> failed{!LevelRead(result.level), !ExpRead(result.exp)};
  for (std::size_t a = 0; a < 2; ++a) {
    result.captions[a] = failed[a] ? FailedCaption() : digits[a];
    if (!failed[a] || !result.failures[a].isEmpty()) continue;
    result.failures[a] = a == 0 && levelTooLong ? QCoreApplication::translate("Recognition", "レベルの桁が多すぎます")
                         : digits[a].isEmpty()  ? QCoreApplication::translate("Recognition", "数字が読めません")
                                                : QCoreApplication::translate("Recognition", "読めた数字が0です");
  }
}
