#pragma once
// The history the log files already hold: the records their lines imply.
// A log file is named <prefix>yyyymmddhhmm.txt/.csv (one measurement) or
// <prefix>yyyymm月.txt/.csv (one month); it holds a header line where a
// measurement began a file, then one gain line per reading that gained:
// "MM/dd hh:mm", level, experience within the level, gained, minutes since
// the previous reading (idle time left out), rate. A month's file adds no
// header for the measurements after its first, so a measurement also ends
// where the next line does not continue it: its total before the gain is
// not the previous line's total (a new Run after playing without the meter,
// another character), its level is not the previous one plus 0 to 3, or
// the time before it is too long to be a pause within one measurement.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "accounting/exp_table.h"
#include "history/measurement_record.h"
#include "history/text_lines.h"

// A pause longer than this between two gain lines starts a new record: a
// month's file shows no other sign of a Stop and a Run with no play between
// them. Longer than the idle readings of common capture intervals.
inline constexpr std::int64_t kRecordGapMs = 60 * 60 * 1000;

struct LogImport {
  std::vector<MeasurementRecord> records;  // in the order of the lines
  int skippedLines = 0;                    // lines that are neither a header nor a gain line
  int files = 0;                           // log files read
  QStringList unreadable;                  // log files that could not be opened
  bool stopped = false;                    // `progress` asked to give up: the records are not all there
};

// Where a log file's name says its lines belong: the stamp's year and month
// (and for a measurement's file the minute it began). Nothing for a name
// that is not a log file's.
struct LogFileName {
  QDate month;                  // the first of the month
  std::optional<QDateTime> begun;  // a measurement's file: its stamp
};
std::optional<LogFileName> ParseLogFileName(const QString& fileName);

// The records of one log file's content.
LogImport ImportLogText(const QString& fileName, const QByteArray& bytes,
                        const ExpTable& table = *CompiledExpTable());

// Every log file in the folder, oldest name first; other files are left
// alone. Each is read a piece at a time; `progress` counts their bytes.
LogImport ImportLogFolder(const QString& logFolder, const ExpTable& table = *CompiledExpTable(),
                          const ReadProgress& progress = {});

// The imported records that no existing record already covers (their times
// overlap), so reading the logs again adds only what the history lacks.
std::vector<MeasurementRecord> RecordsNotYetKept(const std::vector<MeasurementRecord>& kept,
                                                 const std::vector<MeasurementRecord>& imported);
