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
#include "history/text_lines.h"
#include "persistence/notice.h"

inline const QString kSessionsFileName = QStringLiteral("測定記録.csv");

QString SessionsFilePath(const QString& saveFolder);

// Appends the records, in one write: all of them reach the file or none
// does, and the file before them is never read. The header comes first when
// the file is new or empty; a last line without its CR LF (another program
// saved the file, or a write was cut short) gets it first. Creates the
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
  bool stopped = false;                    // `progress` asked to give up: the records are not all there
};
// With `endedAfter`, only the records that ended after it are kept: what
// the recent pace needs, not years of history (the lines of older records,
// passed over, are not counted when damaged).
SessionsRead ReadSessionsFile(const QString& saveFolder, const ReadProgress& progress = {},
                              const QDateTime& endedAfter = {});
