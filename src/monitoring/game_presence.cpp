#include "monitoring/game_presence.h"

GamePresence::Change GamePresence::Saw(GameSeen seen, std::optional<AreasSeen> hidden, std::int64_t nowMs, bool waits) {
  Change change;
  if (seen == GameSeen::Missing && waits && !goneMs_) {
    goneMs_ = nowMs;
    change.waitBegan = true;
  } else if (seen != GameSeen::Missing && goneMs_) {
    change.goneForMs = nowMs - *goneMs_;
    goneMs_.reset();
  }
  if (seen == GameSeen::Behind && game_ != GameSeen::Behind) behindSinceMs_ = nowMs;
  if (seen != GameSeen::Missing) missingTold_ = false;
  game_ = seen;
  hidden_ = hidden;
  return change;
}

void GamePresence::Forget() {
  game_ = GameSeen::Unknown;
  hidden_.reset();
  behindSinceMs_.reset();
}
