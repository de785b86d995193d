#pragma once
// The rules of picking a capture area on a picture of the game window,
// apart from the window: the rectangle a drag gives, nudging it, zooming,
// the read-out, and the checks the picked numbers go through (those of
// typing them).

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

#include "persistence/notice.h"
#include "persistence/settings.h"

inline constexpr int kMaxPickZoom = 8;

// The rectangle from the pixel pressed to the pixel under the mouse, both
// included, in either direction, kept inside the picture.
QRect PickedRect(QPoint from, QPoint to, QSize picture);

// The selection after the mouse went down on `from` and up on `to`: a
// click (both on one pixel) keeps the one before, wherever it lands; only a
// drag makes a new one.
QRect SelectionAfterDrag(const QRect& before, QPoint from, QPoint to, QSize picture);

// How the picker first shows the picture in a viewport of `viewport`
// pixels: the selection, the zoom, and the picture pixel to centre on.
// A picked area is shown close up with some room around it. With no area
// picked yet (the delivered default, or one outside the picture) the view
// is on the window's lower part, where games keep their status bars, and
// the selection is brought into it so the arrow keys move something seen.
struct OpeningView {
  QRect selection;
  int zoom = 1;
  QPoint centre;
};
OpeningView OpeningViewOf(QSize picture, const CaptureRegion& current, bool picked, QSize viewport);

// Whether `current` is an area the player picked: not the delivered
// default of area `area`, and wholly inside the picture.
bool AreaPicked(const CaptureRegion& current, int area, QSize picture);

// `r` moved by (dx, dy), or its size changed by (dx, dy) when `resize`,
// kept inside the picture and at least one pixel in each direction.
QRect Nudged(const QRect& r, int dx, int dy, bool resize, QSize picture);

// The picture pixel under a point of the canvas shown at `zoom`.
QPoint PicturePoint(QPointF canvas, int zoom);

// The zoom after `notches` wheel notches (positive: closer), 1 … 8.
int ZoomAfterWheel(int zoom, int notches);

// "始点 X: 35  Y: 576   サイズ X: 44  Y: 13": the settings' own numbers,
// counted from the window's outer corner, frame included.
QString PickReadout(const QRect& r);

// What the live read-out under the rectangle shows for a caption: "→ 152",
// or the caption of a number not read as it is.
QString RecognitionReadout(const QString& caption);

CaptureRegion RegionOf(const QRect& r);

// The numeric dialog's verdict on the first of the four numbers outside its
// limits ("入力下限を超えています" / "入力上限を超えています", with which
// number and its limits on a second line); nothing when all four are taken.
std::optional<Notice> RegionRefusal(const CaptureRegion& region);
