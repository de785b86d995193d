// A log file as an editor or a damaged disk may leave it: any bytes, read
// by the importer as a month's file and as a measurement's. Every record it
// gives holds only what the program can write, so that, once kept in the
// sessions file, it reads back; the pace over them overflows nothing.
#include <cstdint>

#include "fuzz_folder.h"
#include "history/goal.h"
#include "history/log_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  for (const QString name : {QStringLiteral("給与明細202612月.csv"), QStringLiteral("給与明細202612051430.txt")}) {
    const LogImport import = ImportLogText(name, bytes);
    for (const MeasurementRecord& r : import.records) {
      Require(RecordPlausible(r) && ParseRecordLine(RecordLine(r)), "an impossible record was imported");
    }
    PaceOfRecords(import.records, QDateTime(QDate(2026, 12, 31), QTime(12, 0)));
  }
  return 0;
}
