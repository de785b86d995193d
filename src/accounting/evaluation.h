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

struct EvaluationStep {
  QString screenLine;                // appended to the on-screen log with CR LF; empty: nothing
  bool scrollToEnd = false;          // put the log's caret at the end
  bool beginLogFile = false;         // WriteLogLine(fileHeader, "INIT")
  std::optional<QString> fileLine;   // WriteLogLine(line, "") after the above
  bool retrySoon = false;            // next capture due in 15 seconds
  QString traceMessage;              // " Fast ImageRecognition" …; empty: no trace line
  std::optional<double> rate;        // thousands per hour of a logged gain, when it has one
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
  EvaluationStep Evaluate(std::int32_t level, double exp, const QDateTime& now, std::int64_t monotonicMs,
                          bool saveCsv);

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

 private:
  std::shared_ptr<const ExpTable> table_ = CompiledExpTable();
  std::optional<Previous> previous_;
};
