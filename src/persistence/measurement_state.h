#pragma once
// The measurement under way, kept in TmMeasure.ini in the program folder
// after every successful evaluation, so that a crash or a power cut does not
// end it: at the next start the player may continue it. Shift_JIS with CR LF,
// one "value , label" line per item under a first line naming the format;
// written beside the old file and put in its place only when complete.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

struct MeasurementState {
  QString logStamp;        // yyyymmddhhmm of the active log file
  QDateTime lastReading;   // wall clock of the reading the next one is measured from
  std::int32_t level = 0;  // that reading
  std::int64_t exp = 0;
  // The measurement so far as the history would keep it (its start, what it
  // gained, the memo…), one sessions-file line; a file of an earlier version
  // has none. Kept as text: the history reads it.
  QString recordSoFar;
  // The reading that record ends at (with live readings not the one above):
  // the continued measurement's next gain is counted from it. A file of an
  // earlier version has none.
  struct RecordReading {
    std::int32_t level = 0;
    double exp = 0;
    QDateTime at;
    friend bool operator==(const RecordReading&, const RecordReading&) = default;
  };
  std::optional<RecordReading> recordReading;
  friend bool operator==(const MeasurementState&, const MeasurementState&) = default;
};

QString MeasurementStatePath(const QString& programFolder);

QString MeasurementStateText(const MeasurementState& state);

// Nothing when the text is not a complete, well-formed state.
std::optional<MeasurementState> ParseMeasurementState(const QString& text);

// False when the file could not be written; an older file then stays.
bool SaveMeasurementState(const QString& programFolder, const MeasurementState& state);

// A measurement ended normally leaves nothing to continue.
void ClearMeasurementState(const QString& programFolder);

struct StoredMeasurement {
  enum class Kind { None, Usable, Damaged } kind = Kind::None;
  std::optional<MeasurementState> state;  // when usable
};
StoredMeasurement ReadMeasurementState(const QString& programFolder);

// Moves a damaged file out of the way (to TmMeasure.ini.bad, replacing an
// older one) so that it is never read again; returns where it went, or an
// empty text when even that failed and the file was removed.
QString SetAsideMeasurementState(const QString& programFolder);
