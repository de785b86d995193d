#include "dialogs/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

double ParseNumber(const QString& text) {
  // Blanks are dropped wherever they stand ("1 0" reads as 10), so collect
  // the characters that may belong to a number first, then read greedily.
  std::string kept;
  kept.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    if (c == u' ' || c == u'\t' || c == u'\n') continue;
    kept.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x7f');
  }

  std::size_t i = 0;
  std::string number;
  if (i < kept.size() && (kept[i] == '+' || kept[i] == '-')) number.push_back(kept[i++]);
  bool digits = false;
  bool point = false;
  for (; i < kept.size(); ++i) {
    const char c = kept[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      number.push_back(c);
    } else if (c == '.' && !point) {
      point = true;
      number.push_back(c);
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  if (i < kept.size() && (kept[i] == 'e' || kept[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < kept.size() && (kept[j] == '+' || kept[j] == '-')) exponent.push_back(kept[j++]);
    bool expDigits = false;
    for (; j < kept.size() && kept[j] >= '0' && kept[j] <= '9'; ++j) {
      expDigits = true;
      exponent.push_back(kept[j]);
    }
    if (expDigits) number += exponent;
  }
  // strtod honours the C locale's point; the program never changes LC_NUMERIC
  // from "C", so "." is the decimal point here whatever the user's locale.
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : (value > 0 ? std::numeric_limits<double>::max()
                                                   : -std::numeric_limits<double>::max());
}

QString NumberText(double value) {
  if (value == 0) return QStringLiteral("0");
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  QString text = QString::fromLatin1(buffer);
  // %g switches to an exponent for very large or small values; keep that
  // form (it parses back), but write it the way ParseNumber reads it.
  return text;
}

int RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(value);  // default rounding mode: halves to even
  if (r >= 2147483647.0) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}
