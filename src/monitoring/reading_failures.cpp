#include "monitoring/reading_failures.h"

void ReadingFailures::Read(const std::array<QString, 2>& reasons, const std::array<QImage, 2>& captures) {
  reasons_ = reasons;
  for (std::size_t area = 0; area < 2; ++area) {
    if (!reasons_[area].isEmpty()) captures_[area] = captures[area];
  }
}

std::optional<int> ReadingFailures::FailingArea() const {
  for (int area = 0; area < 2; ++area) {
    if (!reasons_[static_cast<std::size_t>(area)].isEmpty()) return area;
  }
  return std::nullopt;
}

bool ReadingFailures::NoteAreasRead(bool levelRead, bool expRead, const QDateTime& now) {
  const std::optional<QDateTime> before = since_;
  const std::array<bool, 2> areasBefore = areas_;
  if (levelRead && expRead) {
    since_.reset();
  } else {
    if (!since_) since_ = now;
    areas_ = {!levelRead, !expRead};
  }
  return before.has_value() != since_.has_value() || (since_ && areasBefore != areas_);
}
