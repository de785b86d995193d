#include "history/history_view.h"

#include <algorithm>
#include <map>
#include <variant>

#include "accounting/session_model.h"

namespace {

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

// A sort key per record: numbers for most columns, texts for the memo and
// the file. Built once, so a sort of many records compares plain values.
using SortKey = std::variant<double, QString>;

SortKey KeyOf(const MeasurementRecord& r, RecordColumn column) {
  // Records without a rate sort after every rate, ascending or not.
  const auto rate = [](const std::optional<double>& value) { return value ? *value : -1e300; };
  switch (column) {
    case RecordColumn::Start: return static_cast<double>(r.start.toMSecsSinceEpoch());
    case RecordColumn::End: return static_cast<double>(r.end.toMSecsSinceEpoch());
    case RecordColumn::Active: return static_cast<double>(r.activeMs);
    case RecordColumn::LevelFrom: return static_cast<double>(r.levelFrom);
    case RecordColumn::LevelTo: return static_cast<double>(r.levelTo);
    case RecordColumn::Gained: return r.gained;
    case RecordColumn::AverageRate: return rate(r.averageRate);
    case RecordColumn::BestRate: return rate(r.bestRate);
    case RecordColumn::Memo: return r.memo;
    case RecordColumn::LogFile: return r.logFile;
  }
  return 0.0;
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
  struct Keyed {
    SortKey key;
    double start;
    std::size_t index;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(indices.size());
  for (const std::size_t i : indices) {
    keyed.push_back({KeyOf(records[i], column), static_cast<double>(records[i].start.toMSecsSinceEpoch()), i});
  }
  const bool missingLast = column == RecordColumn::AverageRate || column == RecordColumn::BestRate;
  std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.key != b.key) {
      if (missingLast) {
        const bool aMissing = std::get<double>(a.key) == -1e300;
        const bool bMissing = std::get<double>(b.key) == -1e300;
        if (aMissing != bMissing) return bMissing;
      }
      return ascending ? a.key < b.key : b.key < a.key;
    }
    return a.start > b.start;
  });
  for (std::size_t k = 0; k < keyed.size(); ++k) indices[k] = keyed[k].index;
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
  std::vector<const MeasurementRecord*> byEnd;
  byEnd.reserve(records.size());
  for (const MeasurementRecord& r : records) {
    if (!r.memo.trimmed().isEmpty()) byEnd.push_back(&r);
  }
  std::stable_sort(byEnd.begin(), byEnd.end(),
                   [](const MeasurementRecord* a, const MeasurementRecord* b) { return a->end > b->end; });
  QStringList memos;
  for (const MeasurementRecord* r : byEnd) {
    if (memos.size() >= count) break;
    if (!memos.contains(r->memo)) memos << r->memo;
  }
  return memos;
}

QString RecordsText(const std::vector<MeasurementRecord>& records, const std::vector<std::size_t>& indices) {
  QStringList lines{RecordHeader()};
  for (const std::size_t i : indices) lines << RecordLine(records[i]);
  return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
