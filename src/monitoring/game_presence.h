#pragma once
// Where the looks at the game found it: in front, behind other windows
// (since when, and why it cannot be read there), or gone, while a
// measurement waits for it to come back; and whether the player was told
// it is gone, once each time it goes.

#include <cstdint>
#include <optional>

#include "capture/game_sight.h"
#include "monitoring/state_line.h"

class GamePresence {
 public:
  struct Change {
    bool waitBegan = false;                 // gone: the measurement waits for it
    std::optional<std::int64_t> goneForMs;  // back within the wait, after this long
  };

  // A look found the game `seen` at `nowMs`; `waits`: a measurement is
  // under way that waits for a closed game.
  Change Saw(GameSeen seen, std::optional<AreasSeen> hidden, std::int64_t nowMs, bool waits);
  // A session begins: nothing known of the game yet.
  void Forget();
  // The wait for a closed game is over (it ran out, or monitoring ended).
  void StopWaiting() { goneMs_.reset(); }
  // Since when it is gone, while a measurement waits for it.
  std::optional<std::int64_t> GoneSinceMs() const { return goneMs_; }

  // The box that says it is gone: once each time it goes, and again at a
  // new run.
  bool MissingTold() const { return missingTold_; }
  void TellMissing(bool told) { missingTold_ = told; }

  GameSeen Game() const { return game_; }
  std::optional<AreasSeen> Hidden() const { return hidden_; }
  std::optional<std::int64_t> BehindSinceMs() const { return behindSinceMs_; }

 private:
  GameSeen game_ = GameSeen::Unknown;
  std::optional<AreasSeen> hidden_;            // why the game behind cannot be read, when known
  std::optional<std::int64_t> behindSinceMs_;  // monotonic, as every span the player is shown
  std::optional<std::int64_t> goneMs_;
  bool missingTold_ = false;
};
