#include "main_window/log_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <cmath>

#include "base/cp932.h"

namespace {

constexpr int kLogPointSize = 9;

QFont FontOf(const QString& family) {
  QFont font(family);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(kLogPointSize);
  return font;
}

}  // namespace

QStringList LogFontFamilies() {
#ifdef _WIN32
  // MS Gothic is on every Japanese Windows, BIZ UDGothic on Windows 10 and
  // later; the others where a player installed them.
  return {QStringLiteral("MS Gothic"), QStringLiteral("ＭＳ ゴシック"), QStringLiteral("BIZ UDGothic"),
          QStringLiteral("BIZ UDゴシック"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};
#else
  return {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
          QStringLiteral("TakaoGothic")};
#endif
}

QString ChooseLogFontFamily(const QStringList& preferred, const QStringList& installed) {
  for (const QString& family : preferred) {
    for (const QString& present : installed) {
      if (present.compare(family, Qt::CaseInsensitive) == 0) return present;
    }
  }
  return {};
}

bool AlignsLogColumns(const QFont& font) {
  // Digits, blanks, punctuation and the Japanese of the log's lines.
  const QString sample = QStringLiteral("12/05 14:30  152  3,638,678 (経験値) 時給(k/h) 測定結果 レベル ｱｲ");
  const QFontMetricsF metrics(font);
  const qreal column = metrics.horizontalAdvance(QLatin1Char('0'));
  if (column <= 0) return false;
  const auto columns = static_cast<qreal>(EncodeCp932(sample).size());
  return std::abs(metrics.horizontalAdvance(sample) - columns * column) < 0.5;
}

QFont LogFont() {
  const QString chosen = ChooseLogFontFamily(LogFontFamilies(), QFontDatabase::families());
  if (!chosen.isEmpty() && AlignsLogColumns(FontOf(chosen))) return FontOf(chosen);
  for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
    if (QFontDatabase::isFixedPitch(family) && AlignsLogColumns(FontOf(family))) return FontOf(family);
  }
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(kLogPointSize);
  return fixed;
}
