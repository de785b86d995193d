#pragma once
// Good news told once: a level-up, and the goal's level reached, each said
// the first time a measurement's readings show it. Pure: the cycle feeds it
// the level of every reading it trusts and says what it returns.

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct Announcement {
  enum class Kind { LevelUp, GoalReached } kind = Kind::LevelUp;
  std::int32_t level = 0;
  QString text;  // what the player is told
};

class Announcer {
 public:
  // A measurement begins: its first reading is where it stands, not news.
  void Start();
  // The level of a reading; `goalLevel` 0: no goal. A level more than
  // kMaxLevelStep above the last, or below it, is where play goes on from
  // (another character, a misread put right), never news.
  std::vector<Announcement> Feed(std::int32_t level, std::int32_t goalLevel);

  static constexpr std::int32_t kMaxLevelStep = 3;

 private:
  std::optional<std::int32_t> last_;
  std::int32_t highestTold_ = 0;  // levels up to this were told (or stood at the start)
  std::int32_t goalTold_ = 0;     // the goal level told reached
};
