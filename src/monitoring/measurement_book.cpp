#include "monitoring/measurement_book.h"

#include "base/memo_text.h"

void MeasurementBook::Begin(const QDateTime& start, bool continuing) {
  if (!continuing) {
    carried_.reset();
    logFile_.clear();
  }
  measuring_ = true;
  start_ = start;
}

void MeasurementBook::Continue(std::optional<MeasurementRecord> carried) {
  carried_ = std::move(carried);
  logFile_ = carried_ ? carried_->logFile : QString();
  if (carried_ && !carried_->memo.isEmpty()) memo_ = carried_->memo;
}

void MeasurementBook::NoteLogFile(const QString& fileName) {
  if (logFile_.isEmpty()) logFile_ = fileName;
}

void MeasurementBook::SetMemo(const QString& typed) { memo_ = MemoText(typed); }

std::optional<MeasurementRecord> MeasurementBook::SoFar(const SessionFigures& figures,
                                                        const std::vector<SessionPoint>& points,
                                                        const QDateTime& now) const {
  if (!figures.hasReading) {
    if (!carried_) return std::nullopt;
    // Continued, and nothing read since: it ends now, as it was.
    MeasurementRecord record = *carried_;
    record.end = now;
    if (!memo_.isEmpty()) record.memo = memo_;
    return record;
  }
  const MeasurementRecord record = RecordOfSession(start_, now, figures, points, logFile_, memo_);
  return carried_ ? CombinedRecord(*carried_, record) : record;
}

std::optional<MeasurementRecord> MeasurementBook::End(const SessionFigures& figures,
                                                      const std::vector<SessionPoint>& points, const QDateTime& now) {
  if (!measuring_) return std::nullopt;
  measuring_ = false;
  std::optional<MeasurementRecord> record = SoFar(figures, points, now);
  carried_.reset();
  return record;
}
