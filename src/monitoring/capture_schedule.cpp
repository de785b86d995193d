#include "monitoring/capture_schedule.h"

#include <algorithm>

namespace {

std::int64_t IntervalMs(int minutes) { return 60'000LL * minutes; }

}  // namespace

void CaptureSchedule::Start(std::int64_t nowMs) {
  intervalStartMs_.reset();
  dueMs_ = nowMs + kRetryMs;
}

void CaptureSchedule::StartInterval(std::int64_t nowMs, int minutes) {
  intervalStartMs_ = nowMs;
  dueMs_ = nowMs + IntervalMs(minutes);
}

void CaptureSchedule::Retry(std::int64_t nowMs) { dueMs_ = nowMs + kRetryMs; }

bool CaptureSchedule::Due(std::int64_t nowMs, int minutes) {
  if (!dueMs_) return false;
  if (intervalStartMs_) dueMs_ = std::min(*dueMs_, *intervalStartMs_ + IntervalMs(minutes));
  return *dueMs_ <= nowMs;
}
