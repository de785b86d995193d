#pragma once
// The sessions file, save folder/log/測定記録.csv: a header, then one line per
// measurement, Shift_JIS with CR LF like the log files beside it. Records
// are only ever appended, each line whole or not at all (a full disk or a
// read-only folder leaves the file as it was), so the history a player has
// is never put at risk by adding to it.

#include <QString>
#include <optional>
#include <vector>

#include "history/measurement_record.h"
#include "persistence/notice.h"

inline const QString kSessionsFileName = QStringLiteral("測定記録.csv");

QString SessionsFilePath(const QString& saveFolder);

// Appends the records, in one write: all of them reach the file or none
// does. The header comes first when the file is new or empty. Creates the
// log folder when it is missing. A message to show when nothing could be
// written.
std::optional<Notice> AppendRecords(const QString& saveFolder, const std::vector<MeasurementRecord>& records);
inline std::optional<Notice> AppendRecord(const QString& saveFolder, const MeasurementRecord& record) {
  return AppendRecords(saveFolder, {record});
}

struct SessionsRead {
  bool exists = false;  // there is a sessions file (it may hold no record yet)
  std::vector<MeasurementRecord> records;  // in file order
  int damagedLines = 0;                    // lines that are no record, passed over
  std::optional<Notice> problem;           // the file exists but cannot be read
};
SessionsRead ReadSessionsFile(const QString& saveFolder);
