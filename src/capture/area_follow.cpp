#include "capture/area_follow.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// One axis: start and length picked within `referenceLength`, for
// `currentLength`.
std::int32_t FollowAxis(std::int32_t start, std::int32_t length, int referenceLength, int currentLength) {
  const std::int64_t before = start;
  const std::int64_t after = std::int64_t{referenceLength} - (std::int64_t{start} + length);
  if (after >= before) return start;
  const std::int64_t moved = std::int64_t{start} + (std::int64_t{currentLength} - referenceLength);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(moved, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

CaptureRegion FollowWindowSize(const CaptureRegion& region, const QSize& reference, const QSize& current) {
  if (reference.isEmpty() || current.isEmpty() || reference == current) return region;
  CaptureRegion moved = region;
  moved.sx = FollowAxis(region.sx, region.ex, reference.width(), current.width());
  moved.sy = FollowAxis(region.sy, region.ey, reference.height(), current.height());
  return moved;
}

std::array<CaptureRegion, 2> FollowWindowSize(const std::array<CaptureRegion, 2>& regions, const QSize& reference,
                                              const QSize& current) {
  return {FollowWindowSize(regions[0], reference, current), FollowWindowSize(regions[1], reference, current)};
}

QSize AreasReferenceSize(const Settings& settings) {
  const QSize size(settings.areasWindowWidth, settings.areasWindowHeight);
  return size.isEmpty() ? QSize() : size;
}

void SetAreasReferenceSize(Settings& settings, const QSize& size) {
  settings.areasWindowWidth = size.isEmpty() ? 0 : size.width();
  settings.areasWindowHeight = size.isEmpty() ? 0 : size.height();
}

void StoreArea(Settings& settings, int area, const CaptureRegion& region, const QSize& current) {
  if (area < 0 || area > 1) return;
  const auto index = static_cast<std::size_t>(area);
  if (!current.isEmpty()) {
    const std::size_t other = 1 - index;
    settings.captureRegions[other] =
        FollowWindowSize(settings.captureRegions[other], AreasReferenceSize(settings), current);
    SetAreasReferenceSize(settings, current);
  }
  settings.captureRegions[index] = region;
}

AreaFollower::Areas AreaFollower::For(Settings& settings, const QSize& current) {
  Areas areas;
  if (AreasReferenceSize(settings).isEmpty() && !current.isEmpty()) {
    SetAreasReferenceSize(settings, current);
    areas.referenceAdopted = true;
  }
  const QSize reference = AreasReferenceSize(settings);
  areas.regions = FollowWindowSize(settings.captureRegions, reference, current);
  areas.sizeChanged = !lastSize_.isEmpty() && !current.isEmpty() && current != lastSize_;
  if (areas.sizeChanged) {
    awaitingReading_ = true;
    moved_ = areas.regions != settings.captureRegions;
  } else if (lastSize_.isEmpty() && !current.isEmpty() && current != reference) {
    // The first look already finds the window at another size than the
    // areas were picked for.
    awaitingReading_ = true;
    moved_ = true;
  }
  if (!current.isEmpty()) lastSize_ = current;
  return areas;
}

AreaFollower::Outcome AreaFollower::AfterReading(bool read) {
  if (!awaitingReading_) return Outcome::Nothing;
  awaitingReading_ = false;
  if (!read) return Outcome::NotReadable;
  return moved_ ? Outcome::Moved : Outcome::Nothing;
}
