#include "accounting/session_model.h"

#include <algorithm>
#include <cmath>

#include "accounting/exp_table.h"
#include "base/format_field.h"

namespace {

// A level may rise by this much between two readings (as in evaluation);
// more is a misreading or another character.
constexpr std::int32_t kMaxLevelRise = 3;

QString MinutesText(std::int64_t minutes) {
  if (minutes < 60) return QStringLiteral("%1分").arg(minutes);
  return QStringLiteral("%1時間%2分").arg(minutes / 60).arg(minutes % 60);
}

}  // namespace

std::optional<double> RatePerHourK(double gained, std::int64_t activeMs) {
  if (activeMs <= 0) return std::nullopt;
  const double seconds = static_cast<double>(activeMs) / 1000;
  return std::floor(gained / seconds * 3600 / 1000);
}

std::optional<double> SessionTotal(std::int32_t level, double exp) {
  if (level == 200) {
    // The table's slot 199 is the start of level 200, so gains within it and
    // from 199 into it can still be counted.
    return static_cast<double>(*BuildExpTable()[199]) + exp;
  }
  return TotalExp(level, exp);
}

std::optional<double> LevelSize(std::int32_t level) {
  if (level < 1 || level > 199) return std::nullopt;
  const auto& table = BuildExpTable();
  return static_cast<double>(*table[static_cast<std::size_t>(level)] - *table[static_cast<std::size_t>(level - 1)]);
}

QString TimeToLevelText(const std::optional<double>& seconds) {
  if (!seconds || !std::isfinite(*seconds) || *seconds < 0) return QStringLiteral("—");
  // Rounded up: "あと 0分" would promise a level-up that has not come yet.
  const auto minutes = static_cast<std::int64_t>(std::ceil(std::min(*seconds, 1e12) / 60));
  return QStringLiteral("あと ") + MinutesText(minutes);
}

QString DurationText(std::int64_t ms) { return MinutesText(std::max<std::int64_t>(0, ms) / 60000); }

QString GroupedNumber(double value) { return FormatField(value, 1, 0, 0, false).trimmed(); }

void SessionModel::Start(const QDateTime& wallNow, std::int64_t monotonicMs) {
  *this = SessionModel();
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

ReadingVerdict SessionModel::Add(std::int32_t level, double exp, std::int64_t monotonicMs) {
  if (!running_ || level <= 0 || !std::isfinite(exp) || exp < 0) return ReadingVerdict::Ignored;
  const Reading current{level, exp, monotonicMs};

  // The counter never reaches the level's size: the game levels up first.
  const std::optional<double> size = LevelSize(level);
  if (size && exp >= *size) {
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

  const auto follows = [](const Reading& from, const Reading& to) {
    const std::int64_t change = static_cast<std::int64_t>(to.level) - from.level;
    return change >= 0 && change <= kMaxLevelRise;
  };
  if (!follows(*last_, current)) {
    const bool agreesWithRejected = rejected_ && follows(*rejected_, current);
    if (!agreesWithRejected) {
      rejected_ = current;
      ++misreads_;
      return ReadingVerdict::Misread;
    }
    // Two readings agree against the earlier ones: carry on from them,
    // without a gain for the jump itself.
    rejected_.reset();
    last_ = current;
    lastMoveMs_ = monotonicMs;
    return ReadingVerdict::Rebased;
  }
  rejected_.reset();
  Accept(current);
  return ReadingVerdict::Accepted;
}

void SessionModel::NoteMisread() {
  if (running_) ++misreads_;
}

void SessionModel::Accept(const Reading& reading) {
  const Reading previous = *last_;
  levelsGained_ += reading.level - previous.level;
  last_ = reading;

  const std::optional<double> from = SessionTotal(previous.level, previous.exp);
  const std::optional<double> to = SessionTotal(reading.level, reading.exp);
  double gain = 0;
  if (from && to) {
    gain = *to - *from;
  } else if (previous.level == reading.level) {
    gain = reading.exp - previous.exp;  // beyond the table: within the level only
  }
  // A level-up past the table's end has no measurable gain: it is passed over.

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
  AddPoint({reading.ms - startMs_, gained_, WindowRate(reading.ms, kShortWindowMs)});
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

std::optional<double> SessionModel::WindowRate(std::int64_t nowMs, std::int64_t windowMs) const {
  const WindowSums sums = SumsSince(nowMs, windowMs);
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
  f.wholeRate = RatePerHourK(gained_, activeMs_);
  if (running_ && wallNow.isValid() && monotonicMs - lastMoveMs_ > kIdleLimitMs) {
    f.idleSince = wallNow.addMSecs(lastMoveMs_ - monotonicMs);
  }

  const std::optional<double> size = LevelSize(last_->level);
  f.levelSizeUnknown = !size;
  if (size) {
    // Cut, not rounded: 100 % only once the level is done.
    f.progressPercent = std::floor(last_->exp / *size * 1000) / 10;
    // The unrounded rate of the same window, so a slow rate is not cut to 0.
    const WindowSums sums = SumsSince(monotonicMs, kShortWindowMs);
    if (sums.activeMs > 0 && sums.gain > 0) {
      f.secondsToLevel = (*size - last_->exp) / (sums.gain / static_cast<double>(sums.activeMs)) / 1000;
    }
  }
  return f;
}

QString SessionModel::SummaryLine() const {
  if (!first_ || !last_) return QString();
  const QString format = QStringLiteral("MM/dd hh:mm");
  const QDateTime end = stopWall_.isValid() ? stopWall_ : startWall_;
  const std::optional<double> rate = RatePerHourK(gained_, activeMs_);
  // The gain is the difference of two live readings, not of the log file's:
  // which two is said, so the figures can be told apart.
  const auto readAt = [this](const Reading& r) {
    return startWall_.addMSecs(r.ms - startMs_).toString(QStringLiteral("hh:mm:ss"));
  };
  return QStringLiteral("セッション %1 - %2  稼働 %3  獲得Exp %4 (%5〜%6の読取)  時給(全体) %7 k/h  レベル +%8")
      .arg(startWall_.toString(format), end.toString(format), DurationText(activeMs_), GroupedNumber(gained_),
           readAt(*first_), readAt(*last_), rate ? GroupedNumber(*rate) : QStringLiteral("—"),
           QString::number(levelsGained_));
}
