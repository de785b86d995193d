#pragma once
// One measurement as the history keeps it, and its line in the sessions
// file (log/測定記録.csv): comma-separated, a field quoted only when it
// holds a comma, a quote or blanks at its ends, as spreadsheets read it.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "accounting/session_model.h"

struct MeasurementRecord {
  QDateTime start;  // local wall clock; whole minutes for records taken from log files
  QDateTime end;
  std::int64_t activeMs = 0;  // time in which experience rose
  std::int32_t levelFrom = 0;
  std::int32_t levelTo = 0;
  double gained = 0;                  // across level-ups
  std::optional<double> averageRate;  // k/h over the active time, rounded down
  std::optional<double> bestRate;     // k/h over the best 10 minutes of active time
  QString logFile;                    // the log file's name, without its folder
  QString memo;                       // what the player noted, such as the hunting ground
  friend bool operator==(const MeasurementRecord&, const MeasurementRecord&) = default;
};

// Milliseconds of the wall-clock reading (date and time as shown) from a
// fixed day, for ordering and measuring records: no time-zone lookup,
// which local date-times make on every comparison and costs dearly over
// thousands of records. Japan keeps no summer time, so the wall clock
// orders and spaces them as the real clock does.
qint64 WallClockMs(const QDateTime& when);

// The sessions file's first line.
QString RecordHeader();

// The record's line, without its line end. Line breaks in the memo become
// blanks: one record is one line.
QString RecordLine(const MeasurementRecord& record);

// Nothing when the line is not a record (too few fields, a date or a number
// that does not read). Fields after the known ones, from a newer program,
// are passed over.
std::optional<MeasurementRecord> ParseRecordLine(const QString& line);

// The record of a monitoring session that ended at `end`: its figures and
// chart points as the session model gives them (the best 10 minutes is the
// highest last-10-minutes rate it showed with ten minutes of play behind it;
// none for a shorter one).
MeasurementRecord RecordOfSession(const QDateTime& start, const QDateTime& end, const SessionFigures& figures,
                                  const std::vector<SessionPoint>& points, const QString& logFile,
                                  const QString& memo);

// One measurement in two parts (before a crash, and after the program came
// up again and continued it): from the earlier's start and level to the
// later's end and level, the gains and active times added, the better of
// the best rates, the later's memo and log file when it has them.
MeasurementRecord CombinedRecord(const MeasurementRecord& earlier, const MeasurementRecord& later);

// Comma-separated fields with quotes as spreadsheets write them.
QStringList SplitCsvFields(const QString& line);
QString CsvField(const QString& text);
