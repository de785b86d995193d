#pragma once
// Opening the history: the sessions file when there is one; on first use
// the records the log files imply, kept in a new sessions file from then
// on. Reading the logs again (a menu command) adds only the measurements
// the history lacks.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "history/measurement_record.h"
#include "history/text_lines.h"
#include "persistence/notice.h"

struct HistoryLoad {
  std::vector<MeasurementRecord> records;  // oldest first
  int damagedLines = 0;                    // sessions-file lines passed over
  int imported = 0;                        // records just taken from the log files
  int skippedLogLines = 0;                 // log lines that could not be read
  QStringList unreadableLogs;              // log files that could not be opened
  std::optional<Notice> notice;            // to show: the file cannot be read or written
  bool stopped = false;                    // `progress` asked to give up: nothing is complete, nothing was written
};

// Both may take long with years of history: `progress` follows the files
// read, and may stop them.
HistoryLoad OpenHistory(const QString& saveFolder, const ReadProgress& progress = {});

// The end of a measurement: its record goes to the sessions file. When
// there is none yet, the history the log files hold comes first (without
// the measurement just ended, whose own record says more), so it is not
// lost by the file's existing from now on.
std::optional<Notice> KeepMeasurement(const QString& saveFolder, const MeasurementRecord& record);

// Imports the log files again and appends the records `kept` does not
// cover; `kept` receives them too.
HistoryLoad ImportLogsAgain(const QString& saveFolder, std::vector<MeasurementRecord> kept,
                            const ReadProgress& progress = {});
