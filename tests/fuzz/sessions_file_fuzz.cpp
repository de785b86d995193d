// The sessions file (log/測定記録.csv) as a spreadsheet or a damaged disk may
// leave it: any bytes, read as every start and the history window read
// them. Every record read holds only what the program can write, and reads
// back once written; the history's sums and list take them all.
#include <cstdint>

#include "fuzz_folder.h"
#include "history/history_view.h"
#include "history/sessions_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!WriteWhole(SessionsFilePath(FuzzFolder()), QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)))) return 0;
  const SessionsRead read = ReadSessionsFile(FuzzFolder());
  std::vector<std::size_t> all(read.records.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    all[i] = i;
    Require(RecordPlausible(read.records[i]) && ParseRecordLine(RecordLine(read.records[i])), "an impossible record was read");
  }
  DayTotals(read.records, all);
  WeekTotals(read.records, all);
  SortRecordIndices(read.records, all, RecordColumn::Active, false);
  RecordsText(read.records, all);
  return 0;
}
