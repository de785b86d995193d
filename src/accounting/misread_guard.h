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
// An implausible reading is held as a suspect. Only an experience that rose
// within the same level (an item the rules do not foresee, a table that
// differs) is confirmed by the next reading, when it comes from a changed
// screen, is plausible measured from it and still lies above the accepted
// one: the experience moving says nothing of a level read wrong, and a loss
// is never taken as real where a death costs nothing. Readings that keep
// disagreeing with the accepted one mean it was itself wrong: once at least
// kRebaseReadings of them, each from a changed screen and each plausible
// measured from the one before, agree, the last becomes the new base, and
// the jump to it counts as no gain. The same reading again only means the
// screen has not changed, and proves nothing.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "accounting/evaluation.h"
#include "accounting/exp_table.h"

enum class GuardVerdict {
  Plausible,   // evaluate as usual
  Implausible, // not evaluated: a "認識疑義" line, retry soon
  Confirmed,   // was implausible, but agrees with the suspect before it: evaluate
  Rebased,     // the accepted reading was wrong: measure on from this one, no gain for the jump
};

// Readings that must agree before the accepted one is given up.
inline constexpr int kRebaseReadings = 3;

// The row of readings that disagree with the accepted one, each following
// the one before: the guard's and the live session's one rule for when the
// accepted reading was the wrong one (or another character is played). A
// reading that does not follow the last of the row begins a new row; the
// same reading again is a screen that has not changed, and proves nothing.
template <class Reading>
class AgreeingRow {
 public:
  // Adds `reading`; `follows(earlier, later)` says whether one reading can
  // follow another. True once kRebaseReadings agree: the last is the new base.
  template <class Follows>
  bool Join(const Reading& reading, Follows follows) {
    if (!row_.empty()) {
      const Reading& last = row_.back();
      if (last.level == reading.level && last.exp == reading.exp) return false;
      if (!follows(last, reading)) row_.clear();
    }
    row_.push_back(reading);
    return std::ssize(row_) >= kRebaseReadings;
  }
  void Clear() { row_.clear(); }

 private:
  std::vector<Reading> row_;
};

class MisreadGuard {
 public:
  // Judges a recognised reading (level and experience both read) taken at
  // `monotonicMs`, and remembers it as the accepted or the suspect reading.
  // With `allRules` off (the guard switched off) only a loss is weighed:
  // no gain line may ever be negative where a death costs nothing.
  GuardVerdict Check(std::int32_t level, double exp, std::int64_t monotonicMs,
                     DeathPenalty death = DeathPenalty::None, bool allRules = true);

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
  Judged Judge(const Reading& from, const Reading& to, std::optional<double> ratePerMs, DeathPenalty death,
               bool allRules = true) const;
  void Accept(const Reading& reading, bool measureRate);
  bool AgreesWithSuspect(const Reading& reading, DeathPenalty death) const;
  bool ConfirmsSuspect(const Reading& reading, DeathPenalty death) const;

  std::shared_ptr<const ExpTable> table_ = CompiledExpTable();
  std::optional<Reading> accepted_;
  std::optional<Reading> suspect_;
  AgreeingRow<Reading> disagreeing_;
  std::optional<double> ratePerMs_;  // of the last gain between accepted readings
};
