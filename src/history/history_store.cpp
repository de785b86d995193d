#include "history/history_store.h"

#include <QFileInfo>
#include <algorithm>

#include "accounting/exp_table.h"
#include "accounting/log_file.h"
#include "history/log_import.h"
#include "history/sessions_file.h"

namespace {

void SortByStart(std::vector<MeasurementRecord>& records) {
  std::vector<std::pair<qint64, std::size_t>> keys;
  keys.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) keys.emplace_back(WallClockMs(records[i].start), i);
  if (std::is_sorted(keys.begin(), keys.end())) return;
  std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<MeasurementRecord> sorted;
  sorted.reserve(records.size());
  for (const auto& key : keys) sorted.push_back(std::move(records[key.second]));
  records = std::move(sorted);
}

// Adds what the logs hold beyond `load.records` to the file and to the load.
void TakeFromLogs(const QString& saveFolder, HistoryLoad& load, const ReadProgress& progress) {
  LogImport import = ImportLogFolder(LogFolder(saveFolder), *CompiledExpTable(), progress);
  // Part of the logs would be kept as all of them: the rest never imported.
  load.stopped = import.stopped;
  if (load.stopped) return;
  std::vector<MeasurementRecord> fresh = RecordsNotYetKept(load.records, import.records);
  load.skippedLogLines = import.skippedLines;
  load.unreadableLogs = import.unreadable;
  load.imported = static_cast<int>(fresh.size());
  // Records that cannot be kept are still shown: the next opening imports
  // them again.
  if (!fresh.empty() && !load.notice) load.notice = AppendRecords(saveFolder, fresh);
  load.records.insert(load.records.end(), fresh.begin(), fresh.end());
  SortByStart(load.records);
}

}  // namespace

HistoryLoad OpenHistory(const QString& saveFolder, const ReadProgress& progress) {
  HistoryLoad load;
  SessionsRead read = ReadSessionsFile(saveFolder, progress);
  load.records = std::move(read.records);
  load.damagedLines = read.damagedLines;
  load.notice = read.problem;
  load.stopped = read.stopped;
  if (read.exists || read.stopped) {
    SortByStart(load.records);
    return load;
  }
  TakeFromLogs(saveFolder, load, progress);
  return load;
}

HistoryLoad ImportLogsAgain(const QString& saveFolder, std::vector<MeasurementRecord> kept,
                            const ReadProgress& progress) {
  HistoryLoad load;
  load.records = std::move(kept);
  TakeFromLogs(saveFolder, load, progress);
  return load;
}

std::optional<Notice> KeepMeasurement(const QString& saveFolder, const MeasurementRecord& record) {
  if (QFileInfo::exists(SessionsFilePath(saveFolder))) return AppendRecord(saveFolder, record);
  std::vector<MeasurementRecord> records = RecordsNotYetKept({record}, ImportLogFolder(LogFolder(saveFolder)).records);
  records.push_back(record);
  SortByStart(records);
  return AppendRecords(saveFolder, records);
}
