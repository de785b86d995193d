#pragma once
// The rules of the pattern editor, apart from its window: what a slot holds
// after a click, which slots count as registered, and how the eleven
// patterns of an area are brought to one height and handed to the holders.

#include <QImage>
#include <QSize>
#include <array>
#include <optional>

#include "persistence/pattern_set.h"

inline constexpr int kEmptySlotSide = 41;  // the size an empty slot is shown at
inline constexpr int kSlotsPerArea = 11;   // digits 0 to 9, then the delimiter

using AreaPictures = std::array<QImage, kSlotsPerArea>;

// A slot's outer size: its picture's size, or 41 x 41 when it holds none.
QSize SlotOuterSize(const QImage& picture);

// What a slot holds after a click: the clipboard's picture when there is
// one (as RGB32), else what it held; a picture larger than the largest
// pattern (kLargestPatternSide) in either direction empties the slot.
QImage SlotAfterClick(const QImage& held, const QImage& clipboard);

// A slot counts as registered when it holds a picture no larger than the
// largest pattern. Emptiness is having no picture, never a size: a taught
// picture may be any size up to the largest.
bool IsRegistered(const QImage& picture);

// The common height of the eleven slots (their average height, rounded
// down), or nothing when not all eleven are registered.
std::optional<int> CommonHeight(const AreaPictures& pictures);

// `picture` at its own width and `height` rows: its top rows, with black
// rows added at the bottom when it is shorter.
QImage FitToHeight(const QImage& picture, int height);

// The area's pictures as the holders keep them: digits at area * 10 + d,
// the delimiter at `area`.
void StoreArea(PatternImages& images, int area, const AreaPictures& pictures);
AreaPictures AreaOf(const PatternImages& images, int area);
