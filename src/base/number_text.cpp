#include "base/number_text.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace {

#ifdef _WIN32
// The Windows C runtime starts in the "C" locale and Qt leaves it there
// (main sets LC_NUMERIC to "C" as well): "." is the point already.
class CNumbers {
 public:
  CNumbers() {}  // NOLINT(modernize-use-equals-default): user-provided, so a const one needs no initialiser
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;
};
#else
// strtod and printf follow LC_NUMERIC, and QApplication sets the locale
// from the environment at start-up: under a German or French locale they
// would take "," as the decimal point. While one of these objects lives,
// this thread reads and writes numbers the C way, with ".".
class CNumbers {
 public:
  CNumbers() : c_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (c_ != static_cast<locale_t>(nullptr)) previous_ = uselocale(c_);
  }
  ~CNumbers() {
    if (c_ == static_cast<locale_t>(nullptr)) return;
    uselocale(previous_);
    freelocale(c_);
  }
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;

 private:
  locale_t c_;
  locale_t previous_ = static_cast<locale_t>(nullptr);
};

#endif

}  // namespace

std::optional<double> ReadNumber(const QString& text, NumberSyntax syntax) {
  // Blanks in a typed number are dropped wherever they stand ("1 0" reads as
  // 10), so collect the characters that may belong to a number first, then
  // read greedily.
  QString source = text;
  if (syntax.groupingCommas) source.remove(QLatin1Char(','));
  if (syntax.wholeText) source = source.trimmed();
  std::string kept;
  kept.reserve(static_cast<std::size_t>(source.size()));
  for (const QChar c : source) {
    if (!syntax.wholeText && (c == u' ' || c == u'\t' || c == u'\n')) continue;
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
  if (!digits) return std::nullopt;
  if (i < kept.size() && (kept[i] == 'e' || kept[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < kept.size() && (kept[j] == '+' || kept[j] == '-')) exponent.push_back(kept[j++]);
    bool expDigits = false;
    for (; j < kept.size() && kept[j] >= '0' && kept[j] <= '9'; ++j) {
      expDigits = true;
      exponent.push_back(kept[j]);
    }
    if (expDigits) {
      number += exponent;
      i = j;
    }
  }
  if (syntax.wholeText && i != kept.size()) return std::nullopt;
  const CNumbers cNumbers;
  errno = 0;
  const double value = std::strtod(number.c_str(), nullptr);
  const bool vanished = errno == ERANGE && value == 0;  // too small for a double: not its 0
  if (syntax.wholeText) return std::isfinite(value) && !vanished ? std::optional(value) : std::nullopt;
  if (std::isfinite(value)) return value;
  return value > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
}

double ParseNumber(const QString& text) { return ReadNumber(text, {}).value_or(0.0); }

QString NumberText(double value) {
  if (value == 0) return QStringLiteral("0");
  char buffer[64];
  {
    const CNumbers cNumbers;
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
  }
  // Beyond fifteen digits %g writes an exponent (1e+15), which ParseNumber
  // reads back.
  return QString::fromLatin1(buffer);
}

int RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(value);  // default rounding mode: halves to even
  if (r >= 2147483647.0) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}
