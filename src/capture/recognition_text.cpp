#include "capture/recognition_text.h"

#include "dialogs/number_text.h"

namespace {

QString Score(int score) { return QStringLiteral("%1 ").arg(score, 4); }

constexpr int kLongestLevel = 9;  // 999999999 still fits a 32-bit integer

}  // namespace

QString ColumnHeading(long long x) {
  return QStringLiteral("X:%1 Y:").arg(x, 2, 10, QLatin1Char('0'));
}

QString DigitEntry(int digit, int score) { return QStringLiteral(" %1:").arg(digit) + Score(score); }

QString DelimiterEntry(int area, int score) { return QStringLiteral(" D%1:").arg(area) + Score(score); }

QString DigitResult(int digit) { return QStringLiteral(" 認識結果:%1\r\n").arg(digit); }

QString DelimiterResult() { return QStringLiteral(" 認識結果:デリミタ\r\n"); }

QString NoResult() { return QStringLiteral(" 認識結果:なし\r\n"); }

void SetReadings(const std::array<QString, 2>& digits, RecognitionResult& result) {
  const double level = digits[0].size() > kLongestLevel ? 0.0 : ParseNumber(digits[0]);
  result.level = static_cast<std::int32_t>(level);
  result.exp = ParseNumber(digits[1]);
  result.captions[0] = result.level == 0 ? QString::fromUtf16(kFailedCaption) : digits[0];
  result.captions[1] = result.exp == 0 ? QString::fromUtf16(kFailedCaption) : digits[1];
}
