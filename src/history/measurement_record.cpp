#include "history/measurement_record.h"

#include <algorithm>
#include <cmath>

#include "accounting/exp_table.h"
#include "base/number_text.h"

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");
constexpr int kFieldCount = 10;

QString DateField(const QDateTime& when) { return when.toString(kDateFormat); }

// "yyyy/MM/dd hh:mm:ss", or as a spreadsheet may save it again: without the
// seconds, without leading zeros. Read by hand: thousands of records are
// read at every opening, and a format-driven parse costs many times more.
std::optional<QDateTime> ParseDate(const QString& text) {
  int parts[6] = {0, 0, 0, 0, 0, 0};
  int count = 0;
  int digits = 0;
  for (const QChar c : text) {
    if (c.isDigit() && c.unicode() < 0x80) {
      if (count >= 6 || ++digits > 4) return std::nullopt;
      parts[count] = parts[count] * 10 + (c.unicode() - '0');
      continue;
    }
    const bool separator = (count < 2 && c == u'/') || (count == 2 && c == u' ') || ((count == 3 || count == 4) && c == u':');
    if (!separator || digits == 0) return std::nullopt;
    ++count;
    digits = 0;
  }
  if (digits > 0) ++count;
  if (count < 5) return std::nullopt;
  const QDate date(parts[0], parts[1], parts[2]);
  const QTime time(parts[3], parts[4], parts[5]);
  if (!date.isValid() || !time.isValid()) return std::nullopt;
  return QDateTime(date, time);
}

// "h:mm:ss", hours not wrapped at 24, so a spreadsheet sums it as a time.
QString DurationField(std::int64_t ms) {
  const std::int64_t seconds = std::max<std::int64_t>(0, ms) / 1000;
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// "h:mm:ss" or "h:mm"; the hours at most nine digits, so nothing overflows
// before the record's dates bound it.
std::optional<std::int64_t> ParseDuration(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(':'));
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  std::int64_t seconds = 0;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const std::optional<std::int32_t> value = DigitsNumber(parts[i]);
    if (!value || (i > 0 && *value >= 60)) return std::nullopt;
    seconds = seconds * 60 + *value;
  }
  if (parts.size() == 2) seconds *= 60;
  return seconds * 1000;
}

QString NumberField(double value) { return QString::number(value, 'f', 0); }

QString RateField(const std::optional<double>& rate) { return rate ? NumberField(*rate) : QString(); }

}  // namespace

std::optional<std::int32_t> DigitsNumber(const QString& text) {
  if (text.isEmpty() || text.size() > 9) return std::nullopt;
  std::int32_t value = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

double ExpReach() {
  static const double reach = [] {
    const std::shared_ptr<const ExpTable> table = CompiledExpTable();
    double sum = 0;
    for (std::int32_t level = 1; level <= kTopLevel; ++level) {
      sum += static_cast<double>(table->Size(level).value_or(kLargestLevelSize));
    }
    return sum;
  }();
  return reach;
}

bool LevelShown(std::int32_t level) { return level >= 1 && level <= kTopLevel; }

bool ExpWithinReach(double exp) { return std::isfinite(exp) && std::abs(exp) <= ExpReach(); }

bool YearWritten(const QDate& date) {
  return date.isValid() && date.year() >= kFirstRecordYear && date.year() <= kLastRecordYear;
}

bool RecordPlausible(const MeasurementRecord& r) {
  if (!LevelShown(r.levelFrom) || !LevelShown(r.levelTo) || !ExpWithinReach(r.gained)) return false;
  if (!YearWritten(r.start.date()) || !YearWritten(r.end.date())) return false;
  // Active time is counted on the tick count, the dates on the wall clock,
  // which the player may set back or on within a measurement; a year is far
  // beyond any measurement, and sums of records stay far from overflowing.
  constexpr std::int64_t kClockSlackMs = 24 * 3600 * 1000LL;
  constexpr std::int64_t kLongestActiveMs = 366 * 24 * 3600 * 1000LL;
  const std::int64_t span = WallClockMs(r.end) - WallClockMs(r.start);
  if (span < -kClockSlackMs || r.activeMs < 0 || r.activeMs > std::min(span + kClockSlackMs, kLongestActiveMs)) {
    return false;
  }
  // A rate is at most the whole reach gained in a second.
  const auto rateOk = [](const std::optional<double>& rate) { return !rate || std::abs(*rate) <= ExpReach() * 3.6; };
  return rateOk(r.averageRate) && rateOk(r.bestRate);
}

qint64 WallClockMs(const QDateTime& when) {
  return when.date().toJulianDay() * 86'400'000 + when.time().msecsSinceStartOfDay();
}

QString RecordHeader() {
  return QStringLiteral("開始,終了,稼働時間,開始Lv,終了Lv,獲得Exp,平均時給(k/h),最高時給10分(k/h),ログファイル,メモ");
}

QString CsvField(const QString& text) {
  const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                     (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
  if (!quote) return text;
  QString doubled = text;
  doubled.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QStringList SplitCsvFields(const QString& line) {
  QStringList fields;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (quoted) {
      if (c != QLatin1Char('"')) {
        field += c;
      } else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
        field += c;
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == QLatin1Char(',')) {
      fields << field;
      field.clear();
    } else if (c == QLatin1Char('"') && field.isEmpty()) {
      quoted = true;
    } else {
      field += c;
    }
  }
  fields << field;
  return fields;
}

QString RecordLine(const MeasurementRecord& r) {
  QString memo = r.memo;
  memo.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\r'), u' ').replace(QLatin1Char('\n'), u' ');
  const QStringList fields{DateField(r.start),        DateField(r.end),       DurationField(r.activeMs),
                           QString::number(r.levelFrom), QString::number(r.levelTo), NumberField(r.gained),
                           RateField(r.averageRate),  RateField(r.bestRate),  CsvField(r.logFile),
                           CsvField(memo)};
  return fields.join(QLatin1Char(','));
}

std::optional<MeasurementRecord> ParseRecordLine(const QString& line) {
  const QStringList f = SplitCsvFields(line);
  if (f.size() < kFieldCount) return std::nullopt;
  const auto text = [&](int i) { return f[i].trimmed(); };
  const std::optional<QDateTime> start = ParseDate(text(0));
  const std::optional<QDateTime> end = ParseDate(text(1));
  const std::optional<std::int64_t> active = ParseDuration(text(2));
  const std::optional<std::int32_t> levelFrom = DigitsNumber(text(3));
  const std::optional<std::int32_t> levelTo = DigitsNumber(text(4));
  const std::optional<double> gained = ReadNumber(text(5), {.wholeText = true});
  if (!start || !end || !active || !levelFrom || !levelTo || !gained) return std::nullopt;
  const auto rate = [&](int i) -> std::optional<std::optional<double>> {
    if (text(i).isEmpty()) return std::optional<double>();
    if (const std::optional<double> value = ReadNumber(text(i), {.wholeText = true})) return value;
    return std::nullopt;
  };
  const auto average = rate(6);
  const auto best = rate(7);
  if (!average || !best) return std::nullopt;
  MeasurementRecord record{*start, *end, *active, *levelFrom, *levelTo, *gained, *average, *best, f[8], f[9]};
  if (!RecordPlausible(record)) return std::nullopt;
  return record;
}

MeasurementRecord RecordOfSession(const QDateTime& start, const QDateTime& end, const SessionFigures& figures,
                                  const std::vector<SessionPoint>& points, const QString& logFile,
                                  const QString& memo) {
  // Only a rate with ten minutes of play behind it: a few seconds' rate is
  // no best ten minutes, and a shorter measurement has none.
  std::optional<double> best;
  for (const SessionPoint& p : points) {
    if (p.fullSpan && p.shortRate && (!best || *p.shortRate > *best)) best = p.shortRate;
  }
  return MeasurementRecord{start,
                           end,
                           figures.activeMs,
                           // A session that went on with another character may have gained more
                           // levels than the one it ends with has.
                           std::max(1, figures.level - figures.levelsGained),
                           figures.level,
                           figures.gained,
                           figures.wholeRate,
                           best,
                           logFile,
                           memo};
}

MeasurementRecord CombinedRecord(const MeasurementRecord& earlier, const MeasurementRecord& later) {
  MeasurementRecord whole = later;
  whole.start = earlier.start;
  whole.levelFrom = earlier.levelFrom > 0 ? earlier.levelFrom : later.levelFrom;
  // The later part may have no reading yet: the level reached stays the earlier's.
  if (later.levelTo <= 0) whole.levelTo = earlier.levelTo;
  whole.gained = earlier.gained + later.gained;
  whole.activeMs = earlier.activeMs + later.activeMs;
  whole.averageRate = RatePerHourK(whole.gained, whole.activeMs);
  if (earlier.bestRate && (!later.bestRate || *earlier.bestRate > *later.bestRate)) whole.bestRate = earlier.bestRate;
  if (whole.logFile.isEmpty()) whole.logFile = earlier.logFile;
  if (whole.memo.isEmpty()) whole.memo = earlier.memo;
  return whole;
}
