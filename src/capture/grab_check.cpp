#include "capture/grab_check.h"

#include <algorithm>

namespace {

// The one colour of every pixel of `image`, or nothing.
std::optional<QRgb> OnlyColour(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  if (rgb.isNull()) return std::nullopt;
  const QRgb first = rgb.pixel(0, 0);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    if (!std::all_of(line, line + rgb.width(), [first](QRgb p) { return p == first; })) return std::nullopt;
  }
  return first;
}

bool AllBlack(const std::vector<QImage>& images) {
  bool any = false;
  for (const QImage& image : images) {
    if (image.isNull()) continue;
    const std::optional<QRgb> colour = OnlyColour(image);
    if (!colour || qRed(*colour) + qGreen(*colour) + qBlue(*colour) != 0) return false;
    any = true;
  }
  return any;
}

}  // namespace

bool UniformGrab(const std::vector<QImage>& pictures) {
  std::optional<QRgb> seen;
  for (const QImage& picture : pictures) {
    if (picture.isNull()) continue;
    const std::optional<QRgb> colour = OnlyColour(picture);
    if (!colour || (seen && *seen != *colour)) return false;
    seen = colour;
  }
  return seen.has_value();
}

GrabWatch::Verdict GrabWatch::Feed(const std::array<QImage, 2>& pictures, bool countersMoving) {
  if (pictures[0].isNull() && pictures[1].isNull()) return {run_ >= kInARow ? runKind_ : GrabTrouble::None, false};
  GrabTrouble kind = GrabTrouble::None;
  if (UniformGrab({pictures[0], pictures[1]})) {
    kind = GrabTrouble::Uniform;
  } else if (countersMoving && pictures == previous_) {
    kind = GrabTrouble::Frozen;
  }
  previous_ = pictures;
  if (kind == GrabTrouble::None) {
    runKind_ = kind;
    run_ = 0;
    return {};
  }
  run_ = kind == runKind_ ? run_ + 1 : 1;
  runKind_ = kind;
  if (run_ < kInARow) return {};
  return {kind, run_ == kInARow};
}

void GrabWatch::Reset() { *this = GrabWatch(); }

ChosenGrab ChooseGrab(std::vector<QImage> screen, const std::function<std::vector<QImage>()>& windowContents) {
  ChosenGrab chosen{std::move(screen), GrabWay::Screen};
  if (!windowContents || !AllBlack(chosen.images)) return chosen;
  std::vector<QImage> own = windowContents();
  if (own.size() != chosen.images.size()) return chosen;
  for (std::size_t i = 0; i < own.size(); ++i) {
    // Each picture must stand where the screen's stood, and be as large.
    if (chosen.images[i].isNull() != own[i].isNull() || chosen.images[i].size() != own[i].size()) return chosen;
  }
  if (AllBlack(own)) return chosen;
  return {std::move(own), GrabWay::WindowContents};
}
