#pragma once
// A scan shown as it went. Recognition reads a capture at once; the lag it
// waits at each column (for a slow display) is a timer step here, and what
// the scan showed between two of its waits (the captions, debug mode's
// previews) is shown at that step, with the windows' events handled in
// between and nothing run inside anything else.

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "capture/clock.h"
#include "recognition/recognition.h"

class ScanReplay {
 public:
  // A caption of an area, or (digit 0 to 9) a pattern shown against its
  // capture at column x.
  struct Shown {
    int area = 0;
    QString caption;
    int digit = -1;
    int x = 0;
  };

  // Hooks for a scan: what it shows is kept, in parts its lag waits divide.
  // The replay recorded before is dropped.
  RecognitionHooks Recorder();
  // Shows the first part at once and each later one `lagMs` after the one
  // before, then runs `done`; with no lag waits recorded `done` runs before
  // Play returns. A replay stopped (or played again) never runs its `done`.
  void Play(Clock& clock, int lagMs, std::function<void(const Shown&)> show, std::function<void()> done);
  void Stop();
  bool Playing() const { return playing_; }
  // Lag waits the last scan recorded.
  std::size_t Waits() const { return parts_.size() - 1; }

 private:
  void ShowPart();

  std::vector<std::vector<Shown>> parts_{1};
  std::size_t next_ = 0;
  Clock* clock_ = nullptr;
  int lagMs_ = 0;
  std::function<void(const Shown&)> show_;
  std::function<void()> done_;
  std::unique_ptr<ClockTimer> timer_;
  bool playing_ = false;
};
