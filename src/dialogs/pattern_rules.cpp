#include "dialogs/pattern_rules.h"

#include <algorithm>
#include <cstring>

QSize SlotOuterSize(const QImage& picture) {
  if (picture.isNull()) return {kEmptySlotSide, kEmptySlotSide};
  return picture.size();
}

QImage SlotAfterClick(const QImage& held, const QImage& clipboard) {
  QImage picture = clipboard.isNull() ? held : clipboard.convertToFormat(QImage::Format_RGB32);
  if (picture.width() > kLargestPatternSide || picture.height() > kLargestPatternSide) return {};
  return picture;
}

bool IsRegistered(const QImage& picture) {
  return !picture.isNull() && picture.width() <= kLargestPatternSide && picture.height() <= kLargestPatternSide;
}

std::optional<int> CommonHeight(const AreaPictures& pictures) {
  int count = 0;
  int sum = 0;
  for (const QImage& picture : pictures) {
    if (!IsRegistered(picture)) continue;
    ++count;
    sum += SlotOuterSize(picture).height();
  }
  if (count != kSlotsPerArea) return std::nullopt;
  return sum / kSlotsPerArea;
}

QImage FitToHeight(const QImage& picture, int height) {
  const QImage source = picture.convertToFormat(QImage::Format_RGB32);
  QImage fitted(source.width(), height, QImage::Format_RGB32);
  fitted.fill(Qt::black);
  const int rows = std::min(height, source.height());
  const auto rowBytes = static_cast<std::size_t>(source.width()) * 4;
  for (int y = 0; y < rows; ++y) std::memcpy(fitted.scanLine(y), source.constScanLine(y), rowBytes);
  return fitted;
}

void StoreArea(PatternImages& images, int area, const AreaPictures& pictures) {
  const auto first = static_cast<std::size_t>(area) * 10;
  for (std::size_t d = 0; d < 10; ++d) images.digits[first + d] = pictures[d];
  images.delimiters[static_cast<std::size_t>(area)] = pictures[10];
}

AreaPictures AreaOf(const PatternImages& images, int area) {
  AreaPictures pictures;
  const auto first = static_cast<std::size_t>(area) * 10;
  for (std::size_t d = 0; d < 10; ++d) pictures[d] = images.digits[first + d];
  pictures[10] = images.delimiters[static_cast<std::size_t>(area)];
  return pictures;
}
