#include "accounting/session_model.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

#include "accounting/level_rise.h"
#include "accounting/misread_guard.h"
#include "base/counter_reading.h"
#include "base/display_text.h"

namespace {

// The texts' context for the translator.
struct SessionTexts {
  Q_DECLARE_TR_FUNCTIONS(SessionTexts)
};

QString MinutesText(std::int64_t minutes) {
  if (minutes < 60) return SessionTexts::tr("%1分").arg(minutes);
  return SessionTexts::tr("%1時間%2分").arg(minutes / 60).arg(minutes % 60);
}

}  // namespace

std::optional<double> RatePerHourK(double gained, std::int64_t activeMs) {
  if (activeMs <= 0) return std::nullopt;
  const double seconds = static_cast<double>(activeMs) / 1000;
  return std::floor(gained / seconds * 3600 / 1000);
}

QString TimeToLevelText(const std::optional<double>& seconds) {
  if (!seconds || !std::isfinite(*seconds) || *seconds < 0) return QStringLiteral("—");
  // Rounded up: "あと 0分" would promise a level-up that has not come yet.
  const auto minutes = static_cast<std::int64_t>(std::ceil(std::min(*seconds, 1e12) / 60));
  return SessionTexts::tr("あと %1").arg(MinutesText(minutes));
}

QString DurationText(std::int64_t ms) {
  if (ms > 0 && ms < 60000) return SessionTexts::tr("1分未満");
  return MinutesText(std::max<std::int64_t>(0, ms) / 60000);
}

void SessionModel::Start(const QDateTime& wallNow, std::int64_t monotonicMs) {
  std::shared_ptr<const ExpTable> table = std::move(table_);
  *this = SessionModel();
  table_ = std::move(table);
  running_ = true;
  startWall_ = wallNow;
  startMs_ = monotonicMs;
  lastMoveMs_ = monotonicMs;
}

void SessionModel::Stop(const QDateTime& wallNow, std::int64_t /*monotonicMs*/) {
  if (!running_) return;
  running_ = false;
  stopWall_ = wallNow;
}

ReadingVerdict SessionModel::Add(std::int32_t level, double exp, std::int64_t monotonicMs, DeathPenalty death) {
  if (!running_ || !CounterValues(level, exp)) return ReadingVerdict::Ignored;
  const Reading current{level, exp, monotonicMs};

  // The counter never reaches the level's size: the game levels up first.
  const std::optional<std::int64_t> size = table_->Size(level);
  if (size && exp >= static_cast<double>(*size)) {
    ++misreads_;
    return ReadingVerdict::Misread;
  }
  if (!last_) {
    first_ = current;
    last_ = current;
    lastMoveMs_ = monotonicMs;
    AddPoint({monotonicMs - startMs_, 0, std::nullopt});
    return ReadingVerdict::Accepted;
  }

  const auto follows = [death](const Reading& from, const Reading& to) {
    if (!LevelCanFollow(from.level, to.level)) return false;
    return death != DeathPenalty::None || from.level != to.level || to.exp >= from.exp;
  };
  if (!follows(*last_, current)) {
    ++misreads_;
    if (!disagreeing_.Join(current, follows)) return ReadingVerdict::Misread;
    // They agree against the earlier ones: carry on from them, without a
    // gain for the jump itself.
    --misreads_;
    Rebase(level, exp, monotonicMs);
    return ReadingVerdict::Rebased;
  }
  disagreeing_.Clear();
  Accept(current);
  return ReadingVerdict::Accepted;
}

void SessionModel::Rebase(std::int32_t level, double exp, std::int64_t monotonicMs) {
  if (!running_) return;
  disagreeing_.Clear();
  last_ = Reading{level, exp, monotonicMs};
  if (!first_) first_ = last_;
  lastMoveMs_ = monotonicMs;
}

void SessionModel::LeaveOut(std::int64_t ms) {
  if (!running_ || ms <= 0) return;
  if (last_) last_->ms += ms;
  lastMoveMs_ += ms;
}

std::optional<SessionModel::LastReading> SessionModel::Last() const {
  if (!last_) return std::nullopt;
  return LastReading{last_->level, last_->exp, last_->ms};
}

void SessionModel::ContinueFrom(const LastReading& reading) {
  if (!running_ || last_ || !CounterValues(reading.level, reading.exp)) return;
  // No chart point: the earlier part's points are in its record, not here.
  first_ = Reading{reading.level, reading.exp, reading.monotonicMs};
  last_ = first_;
  lastMoveMs_ = reading.monotonicMs;
}

void SessionModel::NoteMisread() {
  if (running_) ++misreads_;
}

void SessionModel::Accept(const Reading& reading) {
  const Reading previous = *last_;
  levelsGained_ += reading.level - previous.level;
  last_ = reading;

  // A level-up over a level the table has no size for has no measurable
  // gain: it is passed over.
  const double gain = table_->Gain(previous.level, previous.exp, reading.level, reading.exp).value_or(0);

  if (gain != 0) {
    const std::int64_t stretch = reading.ms - lastMoveMs_;
    const std::int64_t sinceReading = reading.ms - previous.ms;
    // The gain counts in full. Of the stretch since the last rise, time up
    // to the idle limit was play and the rest idle; a gain after a gap in
    // which the game was not seen at all may have come at any time in it,
    // so the whole gap counts. Either way the time credited is never
    // shorter than the play that can have earned the gain, so no rate is
    // ever inflated by it.
    const std::int64_t active = std::max(std::min(stretch, kIdleLimitMs), sinceReading);
    gained_ += gain;
    activeMs_ += active;
    segments_.push_back({reading.ms, gain, active});
    while (segments_.front().endMs <= reading.ms - kLongWindowMs) segments_.pop_front();
    lastMoveMs_ = reading.ms;
  }
  AddPoint({reading.ms - startMs_, gained_, WindowRate(reading.ms, kShortWindowMs), activeMs_ >= kShortWindowMs});
}

void SessionModel::AddPoint(const SessionPoint& point) {
  if (points_.size() + 1 > kMaxSessionPoints) {
    // Every second point goes: the whole session stays on the chart at half
    // the detail, and this happens ever more rarely.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points_.size(); i += 2) points_[kept++] = points_[i];
    points_.resize(kept);
  }
  points_.push_back(point);
}

SessionModel::WindowSums SessionModel::SumsSince(std::int64_t nowMs, std::int64_t windowMs) const {
  WindowSums sums;
  for (auto it = segments_.rbegin(); it != segments_.rend() && it->endMs > nowMs - windowMs; ++it) {
    sums.gain += it->gain;
    sums.activeMs += it->activeMs;
  }
  return sums;
}

SessionModel::WindowSums SessionModel::WindowSumsAt(std::int64_t nowMs, std::int64_t windowMs) const {
  // Ended at the last gain: time without one drops no slower gain out of
  // the window, so the rate cannot rise from it; it stands, until the
  // window holds no gain at all.
  if (segments_.empty() || nowMs - segments_.back().endMs >= windowMs) return {};
  return SumsSince(segments_.back().endMs, windowMs);
}

std::optional<double> SessionModel::WindowRate(std::int64_t nowMs, std::int64_t windowMs) const {
  const WindowSums sums = WindowSumsAt(nowMs, windowMs);
  return RatePerHourK(sums.gain, sums.activeMs);
}

SessionFigures SessionModel::Figures(std::int64_t monotonicMs, const QDateTime& wallNow) const {
  SessionFigures f;
  f.running = running_;
  f.misreads = misreads_;
  f.levelsGained = levelsGained_;
  f.gained = gained_;
  f.activeMs = activeMs_;
  if (!last_) return f;
  f.hasReading = true;
  f.level = last_->level;
  f.exp = last_->exp;
  f.shortRate = WindowRate(monotonicMs, kShortWindowMs);
  f.longRate = WindowRate(monotonicMs, kLongWindowMs);
  f.shortRateProvisional = activeMs_ < kShortWindowMs;
  f.longRateProvisional = activeMs_ < kLongWindowMs;
  f.wholeRate = RatePerHourK(gained_, activeMs_);
  if (running_ && wallNow.isValid() && monotonicMs - lastMoveMs_ > kIdleLimitMs) {
    f.idleSince = wallNow.addMSecs(lastMoveMs_ - monotonicMs);
  }

  const std::optional<std::int64_t> size = table_->Size(last_->level);
  f.levelSizeUnknown = !size;
  if (size) {
    const auto whole = static_cast<double>(*size);
    // Cut, not rounded: 100 % only once the level is done.
    f.progressPercent = std::floor(last_->exp / whole * 1000) / 10;
    // The unrounded rate of the same window, so a slow rate is not cut to 0.
    const WindowSums sums = WindowSumsAt(monotonicMs, kShortWindowMs);
    if (sums.activeMs > 0 && sums.gain > 0) {
      f.secondsToLevel = (whole - last_->exp) / (sums.gain / static_cast<double>(sums.activeMs)) / 1000;
    }
  }
  return f;
}

QString SessionModel::SummaryLine() const {
  if (!first_ || !last_) return QString();
  const QDateTime end = stopWall_.isValid() ? stopWall_ : startWall_;
  const std::optional<double> rate = RatePerHourK(gained_, activeMs_);
  // The gain is the difference of two live readings, not of the log file's:
  // which two is said, so the figures can be told apart.
  const auto readAt = [this](const Reading& r) {
    return startWall_.addMSecs(r.ms - startMs_).toString(QStringLiteral("hh:mm:ss"));
  };
  // Shown on screen only (the log file never has it): in the language of the windows.
  return SessionTexts::tr("セッション %1 - %2  稼働 %3  獲得Exp %4 (%5〜%6の読取)  時給(全体) %7 k/h  レベル +%8")
      .arg(LogDateText(startWall_), LogDateText(end), DurationText(activeMs_), GroupedNumber(gained_),
           readAt(*first_), readAt(*last_), rate ? GroupedNumber(*rate) : QStringLiteral("—"),
           QString::number(levelsGained_));
}
