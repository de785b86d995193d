#pragma once
// Evaluation of one reading: failure, first reading, nothing gained, or a
// gain with elapsed minutes and the rate in thousands per hour. Pure: the
// caller applies the returned step to the screen, the log file, the due time
// and the trace.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "accounting/exp_table.h"

// What a death costs in the game version played.
enum class DeathPenalty {
  None,        // today's game: nothing
  UpToATenth,  // older versions: up to a tenth of the level
};

struct EvaluationStep {
  QString screenLine;                // appended to the on-screen log with CR LF; empty: nothing
  bool scrollToEnd = false;          // put the log's caret at the end
  bool beginLogFile = false;         // WriteLogLine(fileHeader, "INIT")
  std::optional<QString> fileLine;   // WriteLogLine(line, "") after the above
  bool retrySoon = false;            // next capture due in 15 seconds
  QString traceMessage;              // " Fast ImageRecognition" …; empty: no trace line
  std::optional<double> rate;        // thousands per hour of a logged gain, when it has one
  bool rebase = false;               // the reading became the base the next is measured from, without a gain
};

class ReadingEvaluator {
 public:
  // `monotonicMs` comes from a clock that never wraps; elapsed time counts
  // whole seconds. A gain within the same second shows "-" as its rate.
  // Gains within a level need no table, at any level. A level-up over a
  // level the table has no size for has no known gain: a "  獲得不明  "
  // line says so, nothing goes to the file, and the measurement goes on
  // from this reading in the same log file. A level beyond the game's cap
  // gives a "  測定不可  " line and leaves the measurement as it was.
  // Where a death costs nothing a loss is a misread, never a gain line: it
  // is shown as one ("認識疑義"), retried soon, and measured from nothing.
  EvaluationStep Evaluate(std::int32_t level, double exp, const QDateTime& now, std::int64_t monotonicMs,
                          bool saveCsv, DeathPenalty death = DeathPenalty::None);

  // The reading the next one is measured from was wrong (readings that agree
  // with each other kept disagreeing with it): this one takes its place in
  // the same log file, which gets a line saying so, and the jump counts as
  // no gain. Without a previous reading it is evaluated as usual.
  EvaluationStep Rebase(std::int32_t level, double exp, const QDateTime& now, std::int64_t monotonicMs,
                        bool saveCsv, DeathPenalty death = DeathPenalty::None);

  // The table gains across level-ups are counted with (the compiled one
  // until told otherwise).
  void SetExpTable(std::shared_ptr<const ExpTable> table) { table_ = std::move(table); }

  // Forget the previous reading: the next successful reading is a first
  // reading and begins a log file (Run does this).
  void StartNewMeasurement();

  bool HasPreviousReading() const;

  // The reading the next one is measured from, so a measurement can be saved
  // and continued after a restart.
  struct Previous {
    std::int32_t level = 0;
    double exp = 0;  // within the level
    std::int64_t ms = 0;
  };
  const std::optional<Previous>& PreviousReading() const { return previous_; }
  void Resume(const Previous& previous) { previous_ = previous; }
  // `ms` since the previous reading were not played (the game was closed):
  // the next gain is measured over the rest.
  void LeaveOut(std::int64_t ms) {
    if (previous_ && ms > 0) previous_->ms += ms;
  }

 private:
  std::shared_ptr<const ExpTable> table_ = CompiledExpTable();
  std::optional<Previous> previous_;
};

// What an implausible reading shows and traces instead of an evaluation.
EvaluationStep ImplausibleReadingStep(std::int32_t level, double exp, const QDateTime& now);
