#pragma once
// When to tell the player that something is wrong while monitoring: the
// experience has not risen for N minutes, the game window has been gone or
// behind other windows for N minutes, or recognition has failed (or been
// implausible) three times in a row. Pure: the monitoring cycle feeds one
// event per tick, with time as a millisecond count; each alert is raised
// once per occurrence and cleared when things are normal again.

#include <QString>
#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

enum class AlertKind { NoGain, GameAway, RecognitionTrouble };

// Where a reading stands: experience has risen when the level has, or the
// experience within the same level has. No table is needed for that, so it
// holds at every level.
struct ReadingPoint {
  std::int32_t level = 0;
  double exp = 0;
  friend auto operator<=>(const ReadingPoint&, const ReadingPoint&) = default;
};

struct AlertEvent {
  enum class Game { InFront, Behind, Missing };
  enum class Reading { None, Ok, Failed, Implausible };
  std::int64_t ms = 0;
  Game game = Game::InFront;
  Reading reading = Reading::None;     // what this tick read, if it read anything
  std::optional<ReadingPoint> point;   // where an Ok reading stands, when it is known
};

struct AlertChange {
  AlertKind kind;
  bool raised;  // false: cleared
  friend bool operator==(const AlertChange&, const AlertChange&) = default;
};

class AlertMonitor {
 public:
  static constexpr int kTroubleInARow = 3;

  // Monitoring begins: every condition starts afresh from `ms`.
  void Start(std::int64_t ms);
  // Monitoring ends: nothing is raised until the next Start, and every alert
  // is gone (the changes are not reported; the state itself says "stopped").
  void Stop();
  bool Running() const { return running_; }

  // `minutes` is the player's N (anything below 1 counts as 1).
  std::vector<AlertChange> Feed(const AlertEvent& event, int minutes);

  bool Active(AlertKind kind) const { return active_[static_cast<std::size_t>(kind)]; }
  bool AnyActive() const;

 private:
  void Set(AlertKind kind, bool on, std::vector<AlertChange>& changes);

  bool running_ = false;
  std::int64_t lastRiseMs_ = 0;
  std::optional<ReadingPoint> lastPoint_;
  std::optional<std::int64_t> awaySinceMs_;
  int troubleInARow_ = 0;
  std::array<bool, 3> active_{};
};

// What the player is told when `kind` is raised.
QString AlertText(AlertKind kind, int minutes);
