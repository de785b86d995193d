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

// What the game can show, which every value read back from a history file
// (the sessions file, an imported log) is held to: levels 1 … 300, any
// experience or gain (a death's loss included) no larger than the whole
// table reaches (a level it has no size for counted at the largest size any
// table may hold), dates in the years the program writes (four digits), and
// no more active time than a record's dates span (with a day for a clock
// changed meanwhile), a year at most. Anything else was damaged or typed in,
// and is passed over as unreadable.
inline constexpr int kFirstRecordYear = 1;
inline constexpr int kLastRecordYear = 9999;
double ExpReach();
bool LevelShown(std::int32_t level);
bool ExpWithinReach(double exp);
bool YearWritten(const QDate& date);
// Whether every value of the record is one the program can have written.
bool RecordPlausible(const MeasurementRecord& record);

// Whole decimal digits only (a NUL, a sign or blanks inside are no number),
// at most nine of them; nothing otherwise.
std::optional<std::int32_t> DigitsNumber(const QString& text);

// The sessions file's first line.
QString RecordHeader();

// The record's line, without its line end. Line breaks in the memo become
// blanks: one record is one line.
QString RecordLine(const MeasurementRecord& record);

// Nothing when the line is not a record (too few fields, a date or a number
// that does not read, a value RecordPlausible refuses). Fields after the known ones, from a newer program,
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
