#include "accounting/misread_guard.h"

#include <QCoreApplication>
#include <cmath>

#include "accounting/level_rise.h"
#include "base/display_text.h"

namespace {

constexpr double kMaxLossShare = 0.1;     // of the level's size, at the same level, where a death costs
constexpr double kRateMargin = 10;        // times the measured rate
constexpr double kGainAllowanceShare = 0.05;  // of the level's size, always allowed

}  // namespace

MisreadGuard::Judged MisreadGuard::Judge(const Reading& from, const Reading& to, std::optional<double> ratePerMs,
                                         DeathPenalty death, bool allRules) const {
  const bool inRange = to.level >= 1 && to.level <= kTopLevel;
  // Without the other rules a level that cannot follow is evaluation's to
  // tell (it begins a new measurement); only a loss is weighed here.
  if (!allRules && (!inRange || !LevelCanFollow(from.level, to.level))) return {true, std::nullopt};
  if (!inRange) return {false, std::nullopt};
  const std::optional<std::int64_t> size = table_->Size(to.level);
  const bool fromOverSize = [&] {
    const std::optional<std::int64_t> fromSize = table_->Size(from.level);
    return fromSize && from.exp >= static_cast<double>(*fromSize);
  }();
  if (allRules && size && to.exp >= static_cast<double>(*size) && !(from.level == to.level && fromOverSize)) {
    return {false, std::nullopt};
  }
  if (!LevelCanFollow(from.level, to.level)) return {false, std::nullopt};

  const std::optional<double> gain = table_->Gain(from.level, from.exp, to.level, to.exp);
  if (!gain) return {true, std::nullopt};
  if (*gain < 0) {
    if (death == DeathPenalty::None || from.level != to.level) return {false, gain};
    // A death at a level of unknown size: nothing to bound the loss by.
    return {!size || -*gain <= kMaxLossShare * static_cast<double>(*size), gain};
  }
  if (allRules && ratePerMs) {
    const double elapsed = static_cast<double>(std::max<std::int64_t>(0, to.ms - from.ms));
    const double allowance = size ? kGainAllowanceShare * static_cast<double>(*size) : 0;
    if (*gain > kRateMargin * *ratePerMs * elapsed + allowance) return {false, gain};
  }
  return {true, gain};
}

GuardVerdict MisreadGuard::Check(std::int32_t level, double exp, std::int64_t monotonicMs, DeathPenalty death,
                                 bool allRules) {
  const Reading reading{level, exp, monotonicMs};
  // A level beyond the game's cap, with nothing to weigh it against, is left
  // to evaluation, which keeps its measurement as it was; so does the guard.
  if (!accepted_ && (level < 1 || level > kTopLevel)) return GuardVerdict::Plausible;
  if (!accepted_) {
    // The first reading of a measurement has nothing to be weighed against
    // but the table.
    const std::optional<std::int64_t> size = table_->Size(level);
    GuardVerdict verdict = GuardVerdict::Plausible;
    if (allRules && size && exp >= static_cast<double>(*size)) {
      if (!AgreesWithSuspect(reading, death)) {
        suspect_ = reading;
        return GuardVerdict::Implausible;
      }
      verdict = GuardVerdict::Confirmed;
    }
    suspect_.reset();
    Accept(reading, false);
    return verdict;
  }

  const Judged judged = Judge(*accepted_, reading, ratePerMs_, death, allRules);
  if (judged.plausible) {
    suspect_.reset();
    disagreeing_.Clear();
    Accept(reading, true);
    return GuardVerdict::Plausible;
  }
  const bool confirms = ConfirmsSuspect(reading, death);
  suspect_ = reading;
  const bool rebases = !confirms && disagreeing_.Join(reading, [&](const Reading& last, const Reading& next) {
    return Judge(last, next, std::nullopt, death, allRules).plausible;
  });
  if (!confirms && !rebases) return GuardVerdict::Implausible;
  // The jump was real, or the base was wrong: the next gains are weighed afresh.
  suspect_.reset();
  disagreeing_.Clear();
  ratePerMs_.reset();
  Accept(reading, false);
  return confirms ? GuardVerdict::Confirmed : GuardVerdict::Rebased;
}

bool MisreadGuard::AgreesWithSuspect(const Reading& reading, DeathPenalty death) const {
  if (!suspect_) return false;
  // The same misread comes back for as long as the screen stays as it was:
  // only a counter that has moved since can vouch for the suspect.
  if (suspect_->level == reading.level && suspect_->exp == reading.exp) return false;
  return Judge(*suspect_, reading, std::nullopt, death).plausible;
}

bool MisreadGuard::ConfirmsSuspect(const Reading& reading, DeathPenalty death) const {
  if (!accepted_ || !AgreesWithSuspect(reading, death)) return false;
  // The experience moving vouches for the experience, never for a level.
  if (suspect_->level != accepted_->level || reading.level != accepted_->level) return false;
  const auto rose = [&](const Reading& r) {
    const std::optional<double> gain = table_->Gain(accepted_->level, accepted_->exp, r.level, r.exp);
    return gain && *gain > 0;
  };
  return rose(*suspect_) && rose(reading);
}

void MisreadGuard::Accept(const Reading& reading, bool measureRate) {
  if (measureRate && accepted_) {
    const std::optional<double> gain = table_->Gain(accepted_->level, accepted_->exp, reading.level, reading.exp);
    const std::int64_t elapsed = reading.ms - accepted_->ms;
    if (gain && *gain > 0 && elapsed > 0) ratePerMs_ = *gain / static_cast<double>(elapsed);
  }
  accepted_ = reading;
}

void MisreadGuard::Reset() {
  accepted_.reset();
  suspect_.reset();
  disagreeing_.Clear();
  ratePerMs_.reset();
}

void MisreadGuard::Resume(std::int32_t level, double exp, std::int64_t monotonicMs) {
  Reset();
  accepted_ = Reading{level, exp, monotonicMs};
}
