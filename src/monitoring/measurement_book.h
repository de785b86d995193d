#pragma once
// The record of the measurement under way, as the history keeps it: when
// it began, the log file its lines went to, the memo, and the part before a
// crash it goes on from. The cycle feeds it and writes what it hands back.

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "accounting/session_model.h"
#include "history/measurement_record.h"

class MeasurementBook {
 public:
  // Monitoring begins: a new measurement, unless one continued after a
  // crash goes on with what it had before.
  void Begin(const QDateTime& start, bool continuing);
  // A measurement a crash ended goes on: `carried` is its record so far
  // (none from a file of an earlier version). Its memo comes back with it.
  void Continue(std::optional<MeasurementRecord> carried);
  // The file the measurement's lines go to, from its first line on.
  void NoteLogFile(const QString& fileName);
  bool Measuring() const { return measuring_; }

  // As typed, kept as MemoText makes it.
  void SetMemo(const QString& typed);
  const QString& Memo() const { return memo_; }

  // The record so far, with the part before a crash; nothing before a
  // first reading of a measurement that carries none.
  std::optional<MeasurementRecord> SoFar(const SessionFigures& figures, const std::vector<SessionPoint>& points,
                                         const QDateTime& now) const;
  // Ends the measurement: its record to keep, or nothing (none under way,
  // or nothing read).
  std::optional<MeasurementRecord> End(const SessionFigures& figures, const std::vector<SessionPoint>& points,
                                       const QDateTime& now);

 private:
  bool measuring_ = false;
  QDateTime start_;
  QString logFile_;
  QString memo_;
  std::optional<MeasurementRecord> carried_;
};
