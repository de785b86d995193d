#include "monitoring/announcements.h"

#include <QCoreApplication>

#include <algorithm>

void Announcer::Start() {
  last_.reset();
  highestTold_ = 0;
  goalTold_ = 0;
}

std::vector<Announcement> Announcer::Feed(std::int32_t level, std::int32_t goalLevel) {
  std::vector<Announcement> told;
  if (level <= 0) return told;
  const bool rise = last_ && level > *last_ && level - *last_ <= kMaxLevelStep;
  if (!rise) {
    // Where the measurement stands: the levels up to here are no news.
    last_ = level;
    highestTold_ = std::max(highestTold_, level);
    return told;
  }
  const std::int32_t previous = *last_;
  last_ = level;
  // A misread level put right and then reached for real is told once.
  if (level > highestTold_) {
    highestTold_ = level;
    told.push_back({Announcement::Kind::LevelUp, level,
                    QCoreApplication::translate("Announcements", "Lv%1 にレベルアップしました").arg(level)});
  }
  // Crossed, not merely above: a goal set lower than the level is no news.
  if (goalLevel > 0 && previous < goalLevel && level >= goalLevel && goalTold_ != goalLevel) {
    goalTold_ = goalLevel;
    told.push_back({Announcement::Kind::GoalReached, goalLevel,
                    QCoreApplication::translate("Announcements", "目標の Lv%1 に到達しました").arg(goalLevel)});
  }
  return told;
}
