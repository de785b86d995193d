// The history's files as a spreadsheet, an editor or a damaged disk may
// leave them: any bytes, read as the sessions file (log/測定記録.csv, at every
// start and by the history window) or, built with TALLYMETER_FUZZ_LOG, as a
// month's and a measurement's log file by the importer. Every record holds
// only what the program can write, reads back once written, and the
// history's sums, list and pace over them overflow nothing.
#include <cstdint>
#include <numeric>

#include "fuzz_folder.h"
#include "history/goal.h"
#include "history/history_view.h"
#include "history/log_import.h"
#include "history/sessions_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  std::vector<MeasurementRecord> records;
#ifdef TALLYMETER_FUZZ_LOG
  for (const QString& name : {QStringLiteral("給与明細202612月.csv"), QStringLiteral("給与明細202612051430.txt")}) {
    const std::vector<MeasurementRecord> imported = ImportLogText(name, bytes).records;
    records.insert(records.end(), imported.begin(), imported.end());
  }
#else
  if (!WriteWhole(SessionsFilePath(FuzzFolder()), bytes)) return 0;
  records = ReadSessionsFile(FuzzFolder()).records;
#endif
  for (const MeasurementRecord& r : records) {
    Require(RecordPlausible(r) && ParseRecordLine(RecordLine(r)), "a record the program cannot have written");
  }
  std::vector<std::size_t> all(records.size());
  std::iota(all.begin(), all.end(), std::size_t{0});
  DayTotals(records, all);
  WeekTotals(records, all);
  SortRecordIndices(records, all, RecordColumn::Active, false);
  RecordsText(records, all);
  PaceOfRecords(records, QDateTime(QDate(2026, 12, 31), QTime(12, 0)));
  return 0;
}
