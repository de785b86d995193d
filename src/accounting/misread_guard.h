#pragma once
// The misread guard: a recognised reading is checked for plausibility before
// evaluation sees it, so that one misread digit never logs a huge gain or
// loss. Pure: time comes in as a millisecond count, nothing is shown here.
//
// A reading is plausible against the last accepted reading when
//  1. its experience is below its level's size in the experience table
//     (waived while the accepted reading at the same level was not: the
//     table then does not fit this game and two readings said so);
//  2. its level is the accepted level plus 0 to 3;
//  3. it lost no experience. In today's game a death costs none (it gives a
//     debuff instead), so a counter that falls is a misread. For versions
//     where a death still costs experience (DeathPenalty::UpToATenth) a loss
//     at the same level of at most a tenth of the level's size passes;
//  4. its gain is at most ten times what the last measured rate earns in the
//     elapsed time, plus a twentieth of the level's size where the table has
//     it (so a short or slow stretch does not make an ordinary gain look
//     impossible). Without a measured rate (the first gain of a measurement)
//     this rule is not used.
// Where the table has no size, rule 1 and the allowance of rule 4 fall away;
// a level-up the table cannot measure is left to evaluation, which says so.
// An implausible reading is held as a suspect. The next recognised reading
// confirms it (both are taken as real: an item the rules do not foresee, a
// table that differs) when it comes from a changed screen and is plausible
// measured from it; the same reading again only means the screen has not
// changed, and proves nothing.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "accounting/evaluation.h"
#include "accounting/exp_table.h"

enum class GuardVerdict {
  Plausible,   // evaluate as usual
  Implausible, // not evaluated: a "認識疑義" line, retry soon
  Confirmed,   // was implausible, but agrees with the suspect before it: evaluate
};

// What a death costs in the game version played.
enum class DeathPenalty {
  None,        // today's game: nothing
  UpToATenth,  // older versions: up to a tenth of the level
};

class MisreadGuard {
 public:
  // Judges a recognised reading (level and experience both read) taken at
  // `monotonicMs`, and remembers it as the accepted or the suspect reading.
  GuardVerdict Check(std::int32_t level, double exp, std::int64_t monotonicMs,
                     DeathPenalty death = DeathPenalty::None);

  // The table sizes are judged by (the compiled one until told otherwise).
  void SetExpTable(std::shared_ptr<const ExpTable> table) { table_ = std::move(table); }

  // A new measurement: nothing to judge against.
  void Reset();

  // Continues from a reading accepted earlier (a measurement resumed after a
  // restart); no rate is known yet.
  void Resume(std::int32_t level, double exp, std::int64_t monotonicMs);

 private:
  struct Reading {
    std::int32_t level = 0;
    double exp = 0;
    std::int64_t ms = 0;
  };
  struct Judged {
    bool plausible;
    std::optional<double> gain;  // where the table can tell it
  };
  Judged Judge(const Reading& from, const Reading& to, std::optional<double> ratePerMs, DeathPenalty death) const;
  void Accept(const Reading& reading, bool measureRate);
  bool AgreesWithSuspect(const Reading& reading, DeathPenalty death) const;

  std::shared_ptr<const ExpTable> table_ = CompiledExpTable();
  std::optional<Reading> accepted_;
  std::optional<Reading> suspect_;
  std::optional<double> ratePerMs_;  // of the last gain between accepted readings
};

// What an implausible reading shows and traces instead of an evaluation.
EvaluationStep ImplausibleReadingStep(std::int32_t level, double exp, const QDateTime& now);
