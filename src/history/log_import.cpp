#include "history/log_import.h"

#include <QDir>
#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cmath>

#include "accounting/exp_table.h"
#include "accounting/level_rise.h"
#include "base/number_text.h"
#include "history/text_lines.h"

namespace {

// Rates are compared over at least this much active time, as the live
// meter's last-10-minutes rate is.
constexpr double kBestWindowMinutes = 10;

// No capture is further apart from the one before it than a month: a line
// says more only when it was damaged.
constexpr double kLongestStepMinutes = 31 * 24 * 60;

// The times of a log file's lines are cut to the minute, so a line may seem
// to begin up to a minute before the previous one ended.
constexpr std::int64_t kClockSlackMs = 60 * 1000;

// Times of lines are counted on the wall clock, as WallClockMs counts
// them: a local date-time costs a time-zone lookup, and a year of logs has
// millions of lines. Only a record's start and end become date-times.
QDateTime OnWallClock(qint64 ms) {
  constexpr qint64 kDayMs = 86'400'000;
  return QDateTime(QDate::fromJulianDay(ms / kDayMs), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms % kDayMs)));
}

struct GainLine {
  qint64 atMs = 0;  // on the wall clock
  std::int32_t level = 0;
  double exp = 0;
  double gained = 0;
  double minutes = 0;
};

bool IsHeader(const QString& line) {
  return line.contains(QStringLiteral("月日")) && line.contains(QStringLiteral("時給"));
}

// Month, day, hour and minute of "MM/dd hh:mm".
std::optional<std::array<int, 4>> DateParts(const QString& line) {
  if (line.size() < 11) return std::nullopt;
  const QString date = line.left(11);
  static const QRegularExpression pattern(QStringLiteral("^(\\d\\d)/(\\d\\d) (\\d\\d):(\\d\\d)$"));
  const QRegularExpressionMatch match = pattern.match(date);
  if (!match.hasMatch()) return std::nullopt;
  return std::array<int, 4>{match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                            match.captured(4).toInt()};
}

// The five columns after the date: separated by commas in a CSV line (which
// has " ," right after the date), by blanks in a TXT line (whose numbers
// carry grouping commas).
std::optional<GainLine> ParseColumns(const QString& rest) {
  const QString trimmed = rest.trimmed();
  const bool csv = trimmed.startsWith(QLatin1Char(','));
  const QStringList columns = csv ? trimmed.mid(1).split(QLatin1Char(','))
                                  : trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (columns.size() != 5) return std::nullopt;
  const auto column = [&](int i) { return columns[i].trimmed(); };
  const NumberSyntax syntax{.wholeText = true, .groupingCommas = !csv};
  const std::optional<std::int32_t> level = DigitsNumber(column(0));
  const std::optional<double> exp = ReadNumber(column(1), syntax);
  const std::optional<double> gained = ReadNumber(column(2), syntax);
  const std::optional<double> minutes = ReadNumber(column(3), syntax);
  // Two readings within one second have no rate: "-".
  const std::optional<double> rate = ReadNumber(column(4), syntax);
  const bool rateOk = column(4) == QLatin1String("-") || (rate && ExpWithinReach(*rate));
  // Only what the game can show and the meter can have measured.
  if (!level || !LevelShown(*level) || !exp || *exp < 0 || !ExpWithinReach(*exp) || !gained ||
      !ExpWithinReach(*gained) || !minutes || *minutes < 0 || *minutes > kLongestStepMinutes || !rateOk) {
    return std::nullopt;
  }
  return GainLine{0, *level, *exp, *gained, *minutes};
}

// The level of the reading a gain line was measured from: the line's own
// level, unless the gain reaches back past the level's start; nothing where
// the table lacks a level it would have to step over.
std::optional<std::int32_t> LevelBefore(const GainLine& line, const ExpTable& table) {
  double reachBack = line.gained - line.exp;  // gained before this level began
  std::int32_t level = line.level;
  while (reachBack > 0) {
    --level;
    const std::optional<std::int64_t> size = level >= 1 ? table.Size(level) : std::nullopt;
    if (!size) return std::nullopt;
    reachBack -= static_cast<double>(*size);
  }
  return level;
}

std::optional<double> BestWindowRate(const std::vector<std::pair<double, double>>& steps) {
  double allGain = 0, allMinutes = 0;
  for (const auto& [gain, minutes] : steps) {
    allGain += gain;
    allMinutes += minutes;
  }
  const auto rate = [](double gain, double minutes) {
    return RatePerHourK(gain, static_cast<std::int64_t>(std::llround(minutes * 60000)));
  };
  if (allMinutes < kBestWindowMinutes) return rate(allGain, allMinutes);
  std::optional<double> best;
  std::size_t first = 0;
  double gain = 0, minutes = 0;
  for (const auto& step : steps) {
    gain += step.first;
    minutes += step.second;
    // The shortest run of steps ending here that still spans the window.
    while (first < steps.size() && minutes - steps[first].second >= kBestWindowMinutes) {
      gain -= steps[first].first;
      minutes -= steps[first].second;
      ++first;
    }
    if (minutes < kBestWindowMinutes) continue;
    const std::optional<double> r = rate(gain, minutes);
    if (r && (!best || *r > *best)) best = r;
  }
  return best;
}

// The record being gathered from consecutive lines.
class RecordBuilder {
 public:
  bool Empty() const { return steps_.empty(); }

  bool Continues(const GainLine& line, qint64 stepStartMs, const ExpTable& table) const {
    if (Empty()) return false;
    if (!LevelCanFollow(record_.levelTo, line.level)) return false;
    // The gain runs from where the previous line ended, or this line begins
    // another measurement.
    const std::optional<double> gain = table.Gain(last_.level, last_.exp, line.level, line.exp);
    if (gain && std::abs(*gain - line.gained) > 0.5) return false;
    const std::int64_t pause = stepStartMs - endMs_;
    return pause >= -kClockSlackMs && pause <= kRecordGapMs;
  }

  void Begin(const QDateTime& start, const GainLine& line, const QString& file, const ExpTable& table) {
    record_ = MeasurementRecord{};
    record_.start = start;
    record_.logFile = file;
    record_.levelFrom = LevelBefore(line, table).value_or(line.level);
    record_.levelTo = line.level;
  }

  void Add(const GainLine& line) {
    endMs_ = line.atMs;
    record_.levelTo = line.level;
    record_.gained += line.gained;
    last_ = line;
    steps_.emplace_back(line.gained, line.minutes);
  }

  void FinishInto(std::vector<MeasurementRecord>& records, int& skipped) {
    if (Empty()) return;
    record_.end = OnWallClock(endMs_);
    double minutes = 0;
    for (const auto& step : steps_) minutes += step.second;
    record_.activeMs = static_cast<std::int64_t>(std::llround(minutes * 60000));
    record_.averageRate = RatePerHourK(record_.gained, record_.activeMs);
    record_.bestRate = BestWindowRate(steps_);
    // Lines that each read may still add up to a record no game gives: it
    // is passed over with them, or it would be unreadable once kept.
    if (RecordPlausible(record_)) {
      records.push_back(record_);
    } else {
      skipped += static_cast<int>(steps_.size());
    }
    steps_.clear();
  }

 private:
  MeasurementRecord record_;
  GainLine last_;  // the line the next one must continue from
  qint64 endMs_ = 0;  // the record's end so far, on the wall clock
  std::vector<std::pair<double, double>> steps_;  // gain and minutes of each line
};

}  // namespace

std::optional<LogFileName> ParseLogFileName(const QString& fileName) {
  static const QRegularExpression pattern(QStringLiteral("(\\d{4})(\\d{2})(?:(\\d{2})(\\d{2})(\\d{2})|月)\\.(txt|csv)$"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(fileName);
  if (!match.hasMatch()) return std::nullopt;
  LogFileName name;
  name.month = QDate(match.captured(1).toInt(), match.captured(2).toInt(), 1);
  if (!name.month.isValid()) return std::nullopt;
  if (match.capturedLength(3) > 0) {
    const QDate day(name.month.year(), name.month.month(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt());
    if (!day.isValid() || !time.isValid()) return std::nullopt;
    name.begun = QDateTime(day, time);
  }
  return name;
}

namespace {

// Reads log files one after another into records. A month's file that
// follows the previous month's file of the same name and format may go on
// with the measurement that file ended with: a measurement running past the
// end of a month writes its later lines (after a header of their own) into
// the next month's file.
class LogReader {
 public:
  explicit LogReader(const ExpTable& table) : table_(table) {}

  // False when `goOn` said to give up.
  bool Read(const QString& fileName, const LogFileName& name, QIODevice& file, bool followsPreviousFile,
            const std::function<bool()>& goOn) {
    ++result_.files;
    if (!followsPreviousFile) builder_.FinishInto(result_.records, result_.skippedLines);
    int year = name.month.year();
    int lastMonth = name.month.month();
    // A measurement's file begins with its header at the stamp's minute.
    std::optional<QDateTime> headerStart;
    TextLineReader lines(file);
    for (qint64 i = 0; const std::optional<QString> line = lines.Next(); ++i) {
      if (goOn && !goOn()) return false;
      const QString& text = *line;
      if (text.trimmed().isEmpty()) continue;
      if (IsHeader(text)) {
        // The header a month's file begins with ends nothing by itself.
        if (!(i == 0 && followsPreviousFile)) builder_.FinishInto(result_.records, result_.skippedLines);
        headerStart = i == 0 ? name.begun : std::nullopt;
        continue;
      }
      const std::optional<std::array<int, 4>> parts = DateParts(text);
      std::optional<GainLine> gain = parts ? ParseColumns(text.mid(11)) : std::nullopt;
      if (!gain) {
        ++result_.skippedLines;
        continue;
      }
      const auto [month, day, hour, minute] = *parts;
      // Lines run forward in time: a month earlier than the last one is in
      // the next year.
      const int lineYear = month < lastMonth ? year + 1 : year;
      const QDate date(lineYear, month, day);
      const QTime time(hour, minute);
      if (!YearWritten(date) || !time.isValid()) {
        ++result_.skippedLines;
        continue;
      }
      gain->atMs = date.toJulianDay() * 86'400'000 + time.msecsSinceStartOfDay();
      year = lineYear;
      lastMonth = month;

      const qint64 stepStartMs = gain->atMs - static_cast<std::int64_t>(std::llround(gain->minutes * 60000));
      if (!builder_.Continues(*gain, stepStartMs, table_)) {
        builder_.FinishInto(result_.records, result_.skippedLines);
        const QDateTime start =
            headerStart && builder_.Empty() ? *headerStart : OnWallClock(stepStartMs - stepStartMs % 60'000);
        builder_.Begin(start, *gain, fileName, table_);
      }
      headerStart.reset();
      builder_.Add(*gain);
    }
    return true;
  }

  LogImport Finish() {
    builder_.FinishInto(result_.records, result_.skippedLines);
    return std::move(result_);
  }

  LogImport& Result() { return result_; }

 private:
  const ExpTable& table_;
  RecordBuilder builder_;
  LogImport result_;
};

// The name without its month and extension, and the extension: month files
// of one series share both.
QString MonthSeries(const QString& fileName) {
  return fileName.left(fileName.size() - 11) + fileName.right(4).toLower();  // "yyyymm月.ext" is 11 long
}

}  // namespace

LogImport ImportLogText(const QString& fileName, const QByteArray& bytes, const ExpTable& table) {
  const std::optional<LogFileName> name = ParseLogFileName(fileName);
  if (!name) return {};
  LogReader reader(table);
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  reader.Read(fileName, *name, buffer, false, {});
  return reader.Finish();
}

LogImport ImportLogFolder(const QString& logFolder, const ExpTable& table, const ReadProgress& progress) {
  LogReader reader(table);
  const QDir folder(logFolder);
  std::vector<std::pair<QString, LogFileName>> logs;
  qint64 total = 0;
  for (const QFileInfo& info : folder.entryInfoList(QDir::Files, QDir::Name)) {
    if (std::optional<LogFileName> name = ParseLogFileName(info.fileName())) {
      logs.emplace_back(info.fileName(), *name);
      total += info.size();
    }
  }
  qint64 done = 0;  // the bytes of the files before
  std::optional<std::pair<QString, QDate>> lastMonthFile;  // series and month
  for (const auto& [fileName, name] : logs) {
    QFile file(folder.filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
      reader.Result().unreadable << fileName;
      lastMonthFile.reset();
      continue;
    }
    const bool monthFile = !name.begun.has_value();
    const bool follows = monthFile && lastMonthFile && lastMonthFile->first == MonthSeries(fileName) &&
                         lastMonthFile->second.addMonths(1) == name.month;
    const auto goOn = [&] { return !progress || progress(done + file.pos(), total); };
    if (!reader.Read(fileName, name, file, follows, goOn)) {
      LogImport stopped = reader.Finish();
      stopped.stopped = true;
      return stopped;
    }
    done += file.size();
    lastMonthFile = monthFile ? std::optional<std::pair<QString, QDate>>({MonthSeries(fileName), name.month})
                              : std::nullopt;
  }
  LogImport all = reader.Finish();
  std::stable_sort(all.records.begin(), all.records.end(), [](const MeasurementRecord& a, const MeasurementRecord& b) {
    return WallClockMs(a.start) < WallClockMs(b.start);
  });
  return all;
}

std::vector<MeasurementRecord> RecordsNotYetKept(const std::vector<MeasurementRecord>& kept,
                                                 const std::vector<MeasurementRecord>& imported) {
  // Kept spans by start, with the latest end so far: an imported record
  // overlaps one of them when some span starting before its end ends after
  // its start.
  std::vector<std::pair<qint64, qint64>> spans;
  spans.reserve(kept.size());
  for (const MeasurementRecord& r : kept) spans.emplace_back(WallClockMs(r.start), WallClockMs(r.end));
  std::sort(spans.begin(), spans.end());
  std::vector<qint64> latestEnd(spans.size());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    latestEnd[i] = i == 0 ? spans[i].second : std::max(latestEnd[i - 1], spans[i].second);
  }
  std::vector<MeasurementRecord> fresh;
  for (const MeasurementRecord& r : imported) {
    const auto after = std::upper_bound(spans.begin(), spans.end(), WallClockMs(r.end),
                                        [](qint64 end, const auto& span) { return end < span.first; });
    const auto count = static_cast<std::size_t>(after - spans.begin());
    if (count > 0 && latestEnd[count - 1] >= WallClockMs(r.start)) continue;
    fresh.push_back(r);
  }
  return fresh;
}
