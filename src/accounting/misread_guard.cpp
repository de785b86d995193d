#include "accounting/misread_guard.h"

#include <cmath>

#include "accounting/exp_table.h"
#include "base/format_field.h"

namespace {

constexpr std::int32_t kMaxLevelRise = 3;
constexpr double kMaxLossShare = 0.1;     // of the level's size, at the same level
constexpr double kRateMargin = 10;        // times the measured rate
constexpr double kGainAllowanceShare = 0.05;  // of the level's size, always allowed

// The experience level `level` alone requires; nothing outside the table.
std::optional<double> LevelSize(std::int32_t level) {
  const std::optional<double> start = TotalExp(level, 0);
  const std::optional<double> next = TotalExp(level + 1, 0);
  if (!start || !next) return std::nullopt;
  return *next - *start;
}

struct Judged {
  bool plausible;
  std::optional<double> gain;  // when both totals are known
};

Judged Judge(std::int32_t refLevel, double refExp, std::int64_t refMs, std::int32_t level, double exp,
             std::int64_t ms, std::optional<double> ratePerMs) {
  const std::optional<double> size = LevelSize(level);
  const bool refOverSize = [&] {
    const std::optional<double> refSize = LevelSize(refLevel);
    return refSize && refExp >= *refSize;
  }();
  if (size && exp >= *size && !(refLevel == level && refOverSize)) return {false, std::nullopt};

  const std::int64_t rise = static_cast<std::int64_t>(level) - refLevel;
  if (rise < 0 || rise > kMaxLevelRise) return {false, std::nullopt};

  const std::optional<double> total = TotalExp(level, exp);
  const std::optional<double> refTotal = TotalExp(refLevel, refExp);
  // Beyond the table there is nothing to weigh; evaluation says so itself.
  if (!total || !refTotal || !size) return {true, std::nullopt};
  const double gain = *total - *refTotal;
  if (gain < 0) return {rise == 0 && -gain <= kMaxLossShare * *size, gain};
  if (ratePerMs) {
    const double elapsed = static_cast<double>(std::max<std::int64_t>(0, ms - refMs));
    if (gain > kRateMargin * *ratePerMs * elapsed + kGainAllowanceShare * *size) return {false, gain};
  }
  return {true, gain};
}

}  // namespace

GuardVerdict MisreadGuard::Check(std::int32_t level, double exp, std::int64_t monotonicMs) {
  const Reading reading{level, exp, monotonicMs};
  // Beyond the table there is nothing to weigh, and evaluation keeps its
  // measurement as it was; so does the guard.
  // A level too far from the accepted one is still a misread.
  if (!TotalExp(level, exp)) {
    const std::int64_t rise = accepted_ ? static_cast<std::int64_t>(level) - accepted_->level : 0;
    if (rise >= 0 && rise <= kMaxLevelRise) return GuardVerdict::Plausible;
  }
  if (!accepted_) {
    // The first reading of a measurement has nothing to be weighed against
    // but the table.
    const std::optional<double> size = LevelSize(level);
    GuardVerdict verdict = GuardVerdict::Plausible;
    if (size && exp >= *size) {
      if (!AgreesWithSuspect(reading)) {
        suspect_ = reading;
        return GuardVerdict::Implausible;
      }
      verdict = GuardVerdict::Confirmed;
    }
    suspect_.reset();
    Accept(reading, false);
    return verdict;
  }

  const Judged judged = Judge(accepted_->level, accepted_->exp, accepted_->ms, level, exp, monotonicMs, ratePerMs_);
  if (judged.plausible) {
    suspect_.reset();
    Accept(reading, true);
    return GuardVerdict::Plausible;
  }
  if (AgreesWithSuspect(reading)) {
    // The jump was real: the next gains are weighed afresh.
    suspect_.reset();
    ratePerMs_.reset();
    Accept(reading, false);
    return GuardVerdict::Confirmed;
  }
  suspect_ = reading;
  return GuardVerdict::Implausible;
}

bool MisreadGuard::AgreesWithSuspect(const Reading& reading) const {
  if (!suspect_) return false;
  if (suspect_->level == reading.level && suspect_->exp == reading.exp) return true;
  return Judge(suspect_->level, suspect_->exp, suspect_->ms, reading.level, reading.exp, reading.ms, std::nullopt)
      .plausible;
}

void MisreadGuard::Accept(const Reading& reading, bool measureRate) {
  if (measureRate && accepted_) {
    const std::optional<double> total = TotalExp(reading.level, reading.exp);
    const std::optional<double> before = TotalExp(accepted_->level, accepted_->exp);
    const std::int64_t elapsed = reading.ms - accepted_->ms;
    if (total && before && *total > *before && elapsed > 0) {
      ratePerMs_ = (*total - *before) / static_cast<double>(elapsed);
    }
  }
  accepted_ = reading;
}

void MisreadGuard::Reset() {
  accepted_.reset();
  suspect_.reset();
  ratePerMs_.reset();
}

void MisreadGuard::Resume(std::int32_t level, double exp, std::int64_t monotonicMs) {
  Reset();
  accepted_ = Reading{level, exp, monotonicMs};
}

EvaluationStep ImplausibleReadingStep(std::int32_t level, double exp, const QDateTime& now) {
  EvaluationStep step;
  step.screenLine = now.toString(QStringLiteral("MM/dd hh:mm")) + QStringLiteral("  認識疑義  ") +
                    QStringLiteral("Lv") + QString::number(level) + QStringLiteral(" Exp") +
                    FormatField(exp, 0, 0, 0, false).trimmed();
  step.scrollToEnd = true;
  step.retrySoon = true;
  step.traceMessage = QStringLiteral(" ImageRecognition implausible");
  return step;
}
