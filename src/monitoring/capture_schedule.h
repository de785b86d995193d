#pragma once
// When the next timed capture is due, counted on the monotonic clock (the
// tick count): a wall clock set back an hour (a daylight-saving change, a
// time-sync correction) must not hold the captures back, nor one set
// forward bring them at once. Pure: times come in as milliseconds.

#include <cstdint>
#include <optional>

class CaptureSchedule {
 public:
  // The first capture after a start, and the quick retry after a reading
  // that failed or a game behind another window, are due this much later.
  static constexpr std::int64_t kRetryMs = 15'000;

  // Run: the first capture a retry's time away; no capture of this run has
  // set an interval yet.
  void Start(std::int64_t nowMs);
  // A capture is made now: the next one a whole interval later.
  void StartInterval(std::int64_t nowMs, int minutes);
  // Again soon, whatever was due.
  void Retry(std::int64_t nowMs);
  // Whether a capture is due at `nowMs`. An interval shortened since the
  // last capture counts from that capture, so the player does not wait out
  // the old one (up to a day); a longer one counts from the next capture.
  bool Due(std::int64_t nowMs, int minutes);
  // When the next capture is due; nothing before the first start.
  std::optional<std::int64_t> DueMs() const { return dueMs_; }

 private:
  std::optional<std::int64_t> dueMs_;
  std::optional<std::int64_t> intervalStartMs_;  // the last capture that set a whole interval
};
