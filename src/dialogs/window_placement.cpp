#include "dialogs/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Room left around a capture area: a window that ends right at its edge
// still throws its shadow (or its frame, on some desktops) over the digits.
constexpr int kAreaMargin = 12;
// The title bar's buttons: three of about 46 pixels, in a bar up to 32 high.
constexpr QSize kButtons{160, 40};
// Between one of our windows and what it keeps clear of.
constexpr int kGap = 8;

// The screen that holds the largest part of `rect` (the first when none does).
QRect HomeScreen(const QRect& rect, const QList<QRect>& screens) {
  QRect best = screens.first();
  std::int64_t bestArea = -1;
  for (const QRect& screen : screens) {
    const QRect common = screen & rect;
    const std::int64_t area = common.isEmpty() ? 0 : std::int64_t{common.width()} * common.height();
    if (area > bestArea) {
      best = screen;
      bestArea = area;
    }
  }
  return best;
}

// `rect` moved (and, when larger, shrunk) to lie wholly on `screen`.
QRect Fit(QRect rect, const QRect& screen) {
  rect.setSize(rect.size().boundedTo(screen.size()));
  rect.moveLeft(std::clamp(rect.left(), screen.left(), screen.right() - rect.width() + 1));
  rect.moveTop(std::clamp(rect.top(), screen.top(), screen.bottom() - rect.height() + 1));
  return rect;
}

bool Covers(const QRect& rect, const std::vector<QRect>& avoid) {
  return std::any_of(avoid.begin(), avoid.end(), [&](const QRect& r) { return rect.intersects(r); });
}

}  // namespace

std::vector<QRect> GameSpotsToKeepClear(const QRect& gameOuter, const std::array<CaptureRegion, 2>& regions) {
  std::vector<QRect> spots;
  for (const CaptureRegion& region : regions) {
    if (region.ex <= 0 || region.ey <= 0) continue;
    // Stored values are within +-16777215 and a window within a screen:
    // these sums stay far from overflowing.
    spots.push_back(QRect(gameOuter.left() + region.sx, gameOuter.top() + region.sy, region.ex, region.ey)
                        .adjusted(-kAreaMargin, -kAreaMargin, kAreaMargin, kAreaMargin));
  }
  const QSize buttons = kButtons.boundedTo(gameOuter.size());
  spots.push_back(QRect(QPoint(gameOuter.right() - buttons.width() + 1, gameOuter.top()), buttons));
  return spots;
}

namespace {

// The place nearest to `wanted` that covers none of `avoid` and lies wholly
// on one of `screens`; nothing when there is none.
std::optional<QPoint> NearestClear(const QRect& wanted, const std::vector<QRect>& avoid, const QList<QRect>& screens) {
  const int w = wanted.width();
  const int h = wanted.height();
  // Every place worth trying lies with each side at the wanted place, at a
  // screen's edge or just beside something kept clear.
  std::vector<int> xs{wanted.left()};
  std::vector<int> ys{wanted.top()};
  for (const QRect& r : avoid) {
    xs.insert(xs.end(), {r.left() - kGap - w, r.right() + 1 + kGap});
    ys.insert(ys.end(), {r.top() - kGap - h, r.bottom() + 1 + kGap});
  }
  std::optional<QPoint> best;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (const QRect& screen : screens) {
    if (screen.width() < w || screen.height() < h) continue;
    std::vector<int> sx = xs;
    std::vector<int> sy = ys;
    sx.insert(sx.end(), {screen.left(), screen.right() - w + 1});
    sy.insert(sy.end(), {screen.top(), screen.bottom() - h + 1});
    for (const int x : sx) {
      for (const int y : sy) {
        const QRect candidate(x, y, w, h);
        if (!screen.contains(candidate) || Covers(candidate, avoid)) continue;
        const std::int64_t dx = std::int64_t{x} - wanted.left();
        const std::int64_t dy = std::int64_t{y} - wanted.top();
        const std::int64_t distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
          bestDistance = distance;
          best = candidate.topLeft();
        }
      }
    }
  }
  return best;
}

}  // namespace

QPoint PlaceAvoiding(const QRect& wanted, const std::vector<QRect>& avoid, const QList<QRect>& screens) {
  if (screens.isEmpty()) return wanted.topLeft();
  if (const std::optional<QPoint> clear = NearestClear(wanted, avoid, screens)) return *clear;
  return Fit(wanted, HomeScreen(wanted, screens)).topLeft();
}

QPoint PlaceBeside(QSize size, const QRect& owner, const std::vector<QRect>& avoid, const QRect& screen) {
  if (screen.isEmpty()) return owner.topLeft();
  size = size.boundedTo(screen.size());
  // The owner's sides in the order a reader looks for what it opened: right,
  // left, below, above; each slid along its side to stay on the screen.
  const QRect right(QPoint(owner.right() + 1 + kGap, owner.top()), size);
  const QRect sides[] = {right, QRect(QPoint(owner.left() - kGap - size.width(), owner.top()), size),
                         QRect(QPoint(owner.left(), owner.bottom() + 1 + kGap), size),
                         QRect(QPoint(owner.left(), owner.top() - kGap - size.height()), size)};
  std::vector<QRect> avoidAll = avoid;
  avoidAll.push_back(owner);
  for (std::size_t i = 0; i < std::size(sides); ++i) {
    QRect side = Fit(sides[i], screen);
    // Sliding may only run along the side, never back over the owner.
    if (i < 2) side.moveLeft(sides[i].left());
    if (i >= 2) side.moveTop(sides[i].top());
    if (screen.contains(side) && !Covers(side, avoidAll)) return side.topLeft();
  }
  // No side has room: anywhere near, first off the owner too, then off the
  // game's spots only (over the owner, which it belongs to).
  const QList<QRect> home{screen};
  if (const std::optional<QPoint> clear = NearestClear(Fit(right, screen), avoidAll, home)) return *clear;
  QRect overOwner(QPoint(0, 0), size);
  overOwner.moveCenter(owner.center());
  overOwner = Fit(overOwner, screen);
  if (const std::optional<QPoint> clear = NearestClear(overOwner, avoid, home)) return *clear;
  return overOwner.topLeft();
}

QRect MainWindowPlace(const QRect& remembered, QSize firstSize, const std::optional<QRect>& gameOuter,
                      const std::array<CaptureRegion, 2>& regions, const QList<QRect>& screens) {
  if (screens.isEmpty()) return remembered.isEmpty() ? QRect(QPoint(0, 0), firstSize) : remembered;
  if (!remembered.isEmpty()) return Fit(remembered, HomeScreen(remembered, screens));
  if (!gameOuter) {
    const QRect screen = screens.first();
    QRect centred(QPoint(0, 0), firstSize.boundedTo(screen.size()));
    centred.moveCenter(screen.center());
    return centred;
  }
  const QRect game = *gameOuter;
  QRect wanted(QPoint(game.right() + 1 + kGap, game.top()), firstSize.boundedTo(HomeScreen(game, screens).size()));
  // Beside the game when there is room; over it, at least away from what
  // must be read.
  const QPoint beside = PlaceAvoiding(wanted, {game}, screens);
  if (!QRect(beside, wanted.size()).intersects(game)) return QRect(beside, wanted.size());
  return QRect(PlaceAvoiding(wanted, GameSpotsToKeepClear(game, regions), screens), wanted.size());
}
