#include "monitoring/scan_replay.h"

RecognitionHooks ScanReplay::Recorder() {
  Stop();
  parts_.assign(1, {});
  RecognitionHooks hooks;
  hooks.lagWait = [this] { parts_.emplace_back(); };
  hooks.caption = [this](int area, const QString& caption) { parts_.back().push_back({area, caption}); };
  hooks.preview = [this](int area, int digit, int x) { parts_.back().push_back({area, QString(), digit, x}); };
  return hooks;
}

void ScanReplay::Play(Clock& clock, int lagMs, std::function<void(const Shown&)> show, std::function<void()> done) {
  Stop();
  clock_ = &clock;
  lagMs_ = lagMs;
  show_ = std::move(show);
  done_ = std::move(done);
  next_ = 0;
  playing_ = true;
  ShowPart();
}

void ScanReplay::Stop() {
  playing_ = false;
  timer_.reset();
  done_ = {};
}

void ScanReplay::ShowPart() {
  // Kept apart: a window that is shown something may stop the replay.
  const std::vector<Shown> part = parts_.at(next_++);
  for (const Shown& shown : part) {
    if (!playing_) return;
    show_(shown);
  }
  if (!playing_) return;
  if (next_ < parts_.size()) {
    timer_ = clock_->After(lagMs_, [this] { ShowPart(); });
    return;
  }
  playing_ = false;
  timer_.reset();
  const std::function<void()> done = std::move(done_);
  done_ = {};
  if (done) done();
}
