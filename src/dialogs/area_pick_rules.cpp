#include "dialogs/area_pick_rules.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "dialogs/input_rules.h"
#include "dialogs/options_rules.h"

namespace {

QPoint Inside(QPoint p, QSize picture) {
  return {std::clamp(p.x(), 0, std::max(0, picture.width() - 1)), std::clamp(p.y(), 0, std::max(0, picture.height() - 1))};
}

}  // namespace

QRect PickedRect(QPoint from, QPoint to, QSize picture) {
  const QPoint a = Inside(from, picture);
  const QPoint b = Inside(to, picture);
  return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
               QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QRect SelectionAfterDrag(const QRect& before, QPoint from, QPoint to, QSize picture) {
  if (Inside(from, picture) == Inside(to, picture)) return before;
  return PickedRect(from, to, picture);
}

bool AreaPicked(const CaptureRegion& current, int area, QSize picture) {
  if (current == Settings::Defaults(QString()).captureRegions[area == 1 ? 1 : 0]) return false;
  const QRect r(current.sx, current.sy, current.ex, current.ey);
  return !r.isEmpty() && QRect(QPoint(0, 0), picture).contains(r);
}

OpeningView OpeningViewOf(QSize picture, const CaptureRegion& current, bool picked, QSize viewport) {
  OpeningView view;
  const QRect wanted(current.sx, current.sy, std::max(1, current.ex), std::max(1, current.ey));
  view.selection = PickedRect(wanted.topLeft(), wanted.bottomRight(), picture);
  const int viewWidth = std::max(1, viewport.width());
  const int viewHeight = std::max(1, viewport.height());
  if (picked) {
    // Room for the digits' neighbours, so a box drawn a little off is seen.
    const int margin = std::max(16, view.selection.width() / 4);
    const int zoom = std::min(viewWidth / (view.selection.width() + 2 * margin),
                              viewHeight / (view.selection.height() + 2 * margin));
    view.zoom = std::clamp(zoom, 1, kMaxPickZoom);
    view.centre = view.selection.center();
    return view;
  }
  const int partHeight = std::max(1, picture.height() / 5);
  const QRect lowerPart(0, std::max(0, picture.height() - partHeight), std::max(1, picture.width()), partHeight);
  if (!lowerPart.contains(wanted)) {
    const QSize size = wanted.size().boundedTo(lowerPart.size());
    const QPoint at(lowerPart.left() + std::min(8, lowerPart.width() - size.width()),
                    lowerPart.top() + (lowerPart.height() - size.height()) / 2);
    view.selection = QRect(at, size);
  }
  // Close enough to tell the digits, far enough to see most of the bar.
  view.zoom = std::clamp(viewHeight / partHeight, 1, 2);
  view.centre = view.selection.center();
  return view;
}

QRect Nudged(const QRect& r, int dx, int dy, bool resize, QSize picture) {
  if (resize) {
    const int width = std::clamp(r.width() + dx, 1, std::max(1, picture.width() - r.x()));
    const int height = std::clamp(r.height() + dy, 1, std::max(1, picture.height() - r.y()));
    return {r.x(), r.y(), width, height};
  }
  const int x = std::clamp(r.x() + dx, 0, std::max(0, picture.width() - r.width()));
  const int y = std::clamp(r.y() + dy, 0, std::max(0, picture.height() - r.height()));
  return {x, y, r.width(), r.height()};
}

QPoint PicturePoint(QPointF canvas, int zoom) {
  const int z = std::max(1, zoom);
  return {static_cast<int>(std::floor(canvas.x() / z)), static_cast<int>(std::floor(canvas.y() / z))};
}

int ZoomAfterWheel(int zoom, int notches) { return std::clamp(zoom + notches, 1, kMaxPickZoom); }

QString PickReadout(const QRect& r) {
  return QCoreApplication::translate("AreaPicker", "始点 X: %1  Y: %2   サイズ X: %3  Y: %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString RecognitionReadout(const QString& caption) {
  // A number read starts with a digit; anything else says why nothing was.
  return !caption.isEmpty() && caption.front().isDigit() ? QStringLiteral("→ ") + caption : caption;
}

CaptureRegion RegionOf(const QRect& r) { return CaptureRegion{r.x(), r.y(), r.width(), r.height()}; }

std::optional<Notice> RegionRefusal(const CaptureRegion& region) {
  struct Value {
    const char* name;
    NumericSetting setting;
    int value;
  };
  const Value values[] = {{QT_TRANSLATE_NOOP("AreaPicker", "始点X"), NumericSetting::StartX, region.sx},
                          {QT_TRANSLATE_NOOP("AreaPicker", "始点Y"), NumericSetting::StartY, region.sy},
                          {QT_TRANSLATE_NOOP("AreaPicker", "サイズX"), NumericSetting::SizeX, region.ex},
                          {QT_TRANSLATE_NOOP("AreaPicker", "サイズY"), NumericSetting::SizeY, region.ey}};
  for (const Value& v : values) {
    const NumericSettingInfo info = InfoOf(v.setting);
    const InputLimits limits = OrderedLimits(ParseNumber(info.min), ParseNumber(info.max));
    const Verdict verdict = Judge(v.value, limits);
    if (verdict == Verdict::Accepted) continue;
    const QString first =
        verdict == Verdict::BelowLower ? QCoreApplication::translate("FormInputCheck", "入力下限を超えています")
                                       : QCoreApplication::translate("FormInputCheck", "入力上限を超えています");
    return Notice{first + QStringLiteral("\r\n") +
                      QCoreApplication::translate("AreaPicker", "%1: %2（%3～%4）")
                          .arg(QCoreApplication::translate("AreaPicker", v.name))
                          .arg(v.value)
                          .arg(info.min, info.max),
                  QCoreApplication::translate("FormInputCheck", "入力エラー")};
  }
  return std::nullopt;
}
