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
//  3. it lost experience only at the same level, and then at most a tenth
//     of the level's size (what one death costs in the game);
//  4. its gain is at most ten times what the last measured rate earns in the
//     elapsed time, plus a twentieth of the level's size (so a short or slow
//     stretch does not make an ordinary gain look impossible). Without a
//     measured rate (the first gain of a measurement) this rule is not used.
// An implausible reading is held as a suspect; the next recognised reading
// that is equal to it or plausible against it confirms both, and is accepted
// as real (an item the rules do not foresee, a table that differs).

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

#include "accounting/evaluation.h"

enum class GuardVerdict {
  Plausible,   // evaluate as usual
  Implausible, // not evaluated: a "認識疑義" line, retry soon
  Confirmed,   // was implausible, but agrees with the suspect before it: evaluate
};

class MisreadGuard {
 public:
  // Judges a recognised reading (level and experience both read) taken at
  // `monotonicMs`, and remembers it as the accepted or the suspect reading.
  GuardVerdict Check(std::int32_t level, double exp, std::int64_t monotonicMs);

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
  void Accept(const Reading& reading, bool measureRate);
  bool AgreesWithSuspect(const Reading& reading) const;

  std::optional<Reading> accepted_;
  std::optional<Reading> suspect_;
  std::optional<double> ratePerMs_;  // of the last gain between accepted readings
};

// What an implausible reading shows and traces instead of an evaluation.
EvaluationStep ImplausibleReadingStep(std::int32_t level, double exp, const QDateTime& now);
