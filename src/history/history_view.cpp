#include "history/history_view.h"

#include <algorithm>
#include <map>

#include "accounting/session_model.h"

namespace {

constexpr double kNoRate = -1e300;

template <class PeriodOf>
std::vector<PeriodTotal> Totals(const std::vector<MeasurementRecord>& records, const std::vector<std::size_t>& indices,
                                PeriodOf periodOf) {
  std::map<QDate, PeriodTotal> periods;
  for (const std::size_t i : indices) {
    const MeasurementRecord& r = records[i];
    const QDate first = periodOf(r.start.date());
    PeriodTotal& total = periods[first];
    total.first = first;
    ++total.measurements;
    total.gained += r.gained;
    total.activeMs += r.activeMs;
  }
  std::vector<PeriodTotal> newestFirst;
  newestFirst.reserve(periods.size());
  for (auto it = periods.rbegin(); it != periods.rend(); ++it) {
    it->second.averageRate = RatePerHourK(it->second.gained, it->second.activeMs);
    newestFirst.push_back(it->second);
  }
  return newestFirst;
}

// A column's value as a number; the memo and the file are compared as texts.
double NumberKey(const MeasurementRecord& r, RecordColumn column) {
  // Records without a rate sort after every rate, ascending or not.
  const auto rate = [](const std::optional<double>& value) { return value ? *value : kNoRate; };
  switch (column) {
    case RecordColumn::Start: return static_cast<double>(WallClockMs(r.start));
    case RecordColumn::End: return static_cast<double>(WallClockMs(r.end));
    case RecordColumn::Active: return static_cast<double>(r.activeMs);
    case RecordColumn::LevelFrom: return r.levelFrom;
    case RecordColumn::LevelTo: return r.levelTo;
    case RecordColumn::Gained: return r.gained;
    case RecordColumn::AverageRate: return rate(r.averageRate);
    case RecordColumn::BestRate: return rate(r.bestRate);
    case RecordColumn::Memo:
    case RecordColumn::LogFile: break;
  }
  return 0;
}

}  // namespace

std::vector<std::size_t> FilterRecords(const std::vector<MeasurementRecord>& records, const HistoryFilter& filter) {
  std::vector<std::size_t> shown;
  shown.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const MeasurementRecord& r = records[i];
    if (filter.from.isValid() || filter.to.isValid()) {
      const QDate day = r.start.date();
      if (filter.from.isValid() && day < filter.from) continue;
      if (filter.to.isValid() && day > filter.to) continue;
    }
    if (!filter.memo.isEmpty() && !r.memo.contains(filter.memo, Qt::CaseInsensitive)) continue;
    shown.push_back(i);
  }
  return shown;
}

void SortRecordIndices(const std::vector<MeasurementRecord>& records, std::vector<std::size_t>& indices,
                       RecordColumn column, bool ascending) {
  // Keys are taken once per record, so a sort of many records compares
  // plain values.
  const bool text = column == RecordColumn::Memo || column == RecordColumn::LogFile;
  const std::size_t n = indices.size();
  std::vector<double> numbers(n), starts(n);
  std::vector<const QString*> texts(text ? n : 0);
  for (std::size_t k = 0; k < n; ++k) {
    const MeasurementRecord& r = records[indices[k]];
    starts[k] = static_cast<double>(WallClockMs(r.start));
    if (text) {
      texts[k] = column == RecordColumn::Memo ? &r.memo : &r.logFile;
    } else {
      numbers[k] = NumberKey(r, column);
    }
  }
  std::vector<std::size_t> order(n);
  for (std::size_t k = 0; k < n; ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (text) {
      const int compared = texts[a]->compare(*texts[b]);
      if (compared != 0) return ascending ? compared < 0 : compared > 0;
    } else if (numbers[a] != numbers[b]) {
      const bool aMissing = numbers[a] == kNoRate, bMissing = numbers[b] == kNoRate;
      if (aMissing != bMissing) return bMissing;
      return ascending ? numbers[a] < numbers[b] : numbers[a] > numbers[b];
    }
    return starts[a] > starts[b];  // equal values: the newest first
  });
  std::vector<std::size_t> sorted(n);
  for (std::size_t k = 0; k < n; ++k) sorted[k] = indices[order[k]];
  indices = std::move(sorted);
}

std::vector<PeriodTotal> DayTotals(const std::vector<MeasurementRecord>& records,
                                   const std::vector<std::size_t>& indices) {
  return Totals(records, indices, [](const QDate& day) { return day; });
}

std::vector<PeriodTotal> WeekTotals(const std::vector<MeasurementRecord>& records,
                                    const std::vector<std::size_t>& indices) {
  return Totals(records, indices, [](const QDate& day) { return day.addDays(1 - day.dayOfWeek()); });
}

QStringList RecentMemos(const std::vector<MeasurementRecord>& records, int count) {
  std::vector<std::pair<qint64, const QString*>> byStart;
  byStart.reserve(records.size());
  for (const MeasurementRecord& r : records) {
    if (!r.memo.trimmed().isEmpty()) byStart.emplace_back(WallClockMs(r.start), &r.memo);
  }
  std::stable_sort(byStart.begin(), byStart.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  QStringList memos;
  for (const auto& [start, memo] : byStart) {
    if (memos.size() >= count) break;
    if (!memos.contains(*memo)) memos << *memo;
  }
  return memos;
}

QString RecordsText(const std::vector<MeasurementRecord>& records, const std::vector<std::size_t>& indices) {
  QStringList lines{RecordHeader()};
  for (const std::size_t i : indices) lines << RecordLine(records[i]);
  return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
