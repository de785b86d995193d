#pragma once
// Where Tallymeter's own windows go on the desktop: never over what the
// game must show (the capture areas, the title bar's buttons), always on a
// screen. Pure geometry: rectangles in the window system's coordinates.

#include <QList>
#include <QRect>
#include <array>
#include <optional>
#include <vector>

#include "persistence/settings.h"

// The parts of the game window at `gameOuter` that no window of ours may
// cover: both capture areas with a margin, and the top-right corner where
// the title bar has its buttons.
std::vector<QRect> GameSpotsToKeepClear(const QRect& gameOuter, const std::array<CaptureRegion, 2>& regions);

// The top-left corner for a window at `wanted` that covers none of `avoid`
// and lies wholly on one of `screens`: `wanted` itself when it does, else
// the nearest such place. When there is none (a screen too small, or full
// of what is to be kept clear), `wanted` brought onto the screen it is most
// on.
QPoint PlaceAvoiding(const QRect& wanted, const std::vector<QRect>& avoid, const QList<QRect>& screens);

// Where a window of `size` (its frame included) opens that belongs to the
// window at `owner`: wholly on `screen` (the owner's), beside the owner
// (right, left, below, above: the first side with room) and off `avoid`;
// else the nearest place off both; else off `avoid` only, nearest the
// owner's centre; else over the owner's centre, on the screen. A window
// larger than the screen is placed as if screen-sized: its corner stays on it.
QPoint PlaceBeside(QSize size, const QRect& owner, const std::vector<QRect>& avoid, const QRect& screen);

// The main window's frame rectangle at start: the remembered one (a size of
// 0, 0: none), made to fit on the screen it is most on; on a first start,
// `firstSize` beside the game when it runs (else centred on the first
// screen), and never over its capture areas or buttons.
QRect MainWindowPlace(const QRect& remembered, QSize firstSize, const std::optional<QRect>& gameOuter,
                      const std::array<CaptureRegion, 2>& regions, const QList<QRect>& screens);
