#pragma once
// What the history window shows of the records, apart from the window:
// the filter, the order of the table, and the totals per day and per week.
// Pure, and quick enough for years of play (tens of thousands of records).

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "history/measurement_record.h"

struct HistoryFilter {
  QDate from;    // first day shown; invalid: no limit
  QDate to;      // last day shown; invalid: no limit
  QString memo;  // part of the memo, any letter case; empty: every memo
};

// The indices of the records that pass, in the records' order. A record
// belongs to the day it began.
std::vector<std::size_t> FilterRecords(const std::vector<MeasurementRecord>& records, const HistoryFilter& filter);

// The table's columns, in their order on screen.
enum class RecordColumn { Start, End, Active, LevelFrom, LevelTo, Gained, AverageRate, BestRate, Memo, LogFile };
inline constexpr int kRecordColumns = 10;

// Sorts `indices` by the column; records without a rate come last either
// way, and equal values keep the newest first.
void SortRecordIndices(const std::vector<MeasurementRecord>& records, std::vector<std::size_t>& indices,
                       RecordColumn column, bool ascending);

struct PeriodTotal {
  QDate first;  // the day, or the Monday that begins the week
  int measurements = 0;
  double gained = 0;
  std::int64_t activeMs = 0;
  std::optional<double> averageRate;  // k/h over the active time
};

// Per day and per week (Monday to Sunday), newest first, of the records at
// `indices`.
std::vector<PeriodTotal> DayTotals(const std::vector<MeasurementRecord>& records,
                                   const std::vector<std::size_t>& indices);
std::vector<PeriodTotal> WeekTotals(const std::vector<MeasurementRecord>& records,
                                    const std::vector<std::size_t>& indices);

// The memos of the measurements begun most recently, newest first, each
// once; for the memo field to offer again.
QStringList RecentMemos(const std::vector<MeasurementRecord>& records, int count);

// The records as the sessions file keeps them (its header, then one line
// each, CR LF after each): what the export writes.
QString RecordsText(const std::vector<MeasurementRecord>& records, const std::vector<std::size_t>& indices);
