#include "recognition/text_line.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "persistence/pattern_set.h"
#include "recognition/ink_columns.h"

namespace {

// Ink is a pixel that stands out from its row's background, the median
// colour of the row around the drag (text covers less than half of it; a
// gradient across the rows gives every row its own).
class InkMap {
 public:
  InkMap(const QImage& picture, const QRect& drag)
      : image_(picture.convertToFormat(QImage::Format_RGB32)),
        from_(std::max(0, drag.left() - drag.width() / 2)),
        to_(std::min(image_.width(), drag.right() + 1 + drag.width() / 2)),
        background_(static_cast<std::size_t>(image_.height())) {}

  bool At(int x, int y) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return false;
    return StandsOut(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x], Background(y));
  }
  // Ink pixels of row y in columns [left, right].
  int Count(int y, int left, int right) {
    int n = 0;
    for (int x = left; x <= right; ++x) n += At(x, y) ? 1 : 0;
    return n;
  }

 private:
  QRgb Background(int y) {
    std::optional<QRgb>& known = background_[static_cast<std::size_t>(y)];
    if (!known) {
      std::array<std::vector<int>, 3> channels;
      const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
      for (int x = from_; x < to_; ++x) {
        channels[0].push_back(qRed(line[x]));
        channels[1].push_back(qGreen(line[x]));
        channels[2].push_back(qBlue(line[x]));
      }
      std::array<int, 3> median{};
      for (std::size_t c = 0; c < 3; ++c) {
        auto middle = channels[c].begin() + static_cast<std::ptrdiff_t>(channels[c].size() / 2);
        std::nth_element(channels[c].begin(), middle, channels[c].end());
        median[c] = channels[c].empty() ? 0 : *middle;
      }
      known = qRgb(median[0], median[1], median[2]);
    }
    return *known;
  }

  QImage image_;
  int from_;
  int to_;
  std::vector<std::optional<QRgb>> background_;
};

}  // namespace

TextLineFit FitToTextLine(const QImage& picture, const QRect& drag) {
  TextLineFit fit{drag};
  const QRect inside = drag & picture.rect();
  if (inside.isEmpty() || inside != drag) return fit;
  InkMap ink(picture, drag);
  int top = drag.top();
  int bottom = drag.bottom();
  int left = drag.left();
  int right = drag.right();
  const int tallest = std::max(drag.height(), std::min(2 * drag.height(), kPatternCapacity));
  const int widest = 2 * drag.width();

  // A row of text, not a frame line drawn across the drag.
  const auto textRow = [&](int y) {
    const int n = ink.Count(y, left, right);
    return n > 0 && 20 * n < 17 * (right - left + 1);
  };
  // A stroke that goes on from row `in` to the row outside it.
  const auto rowCut = [&](int in, int out) {
    if (!textRow(out)) return false;
    for (int x = left; x <= right; ++x) {
      if (ink.At(x, in) && ink.At(x, out)) return true;
    }
    return false;
  };

  const auto grow = [](int& edge, int step, int limit, auto cut) {
    bool grown = false;
    while (edge + step >= 0 && edge + step < limit && cut(edge, edge + step)) {
      edge += step;
      grown = true;
    }
    // One pixel of margin past the strokes the drag cut.
    if (grown && edge + step >= 0 && edge + step < limit) edge += step;
  };

  grow(top, -1, picture.height(), [&](int in, int out) { return bottom - out < tallest && rowCut(in, out); });
  grow(bottom, +1, picture.height(), [&](int in, int out) { return out - top < tallest && rowCut(in, out); });
  // Blank rows above and below the line beyond one are none of the
  // number's; a drag over no ink at all is left to the player.
  bool inked = false;
  for (int y = top; y <= bottom && !inked; ++y) inked = ink.Count(y, left, right) > 0;
  if (!inked) return fit;
  while (bottom - top >= 2 && ink.Count(top, left, right) == 0 && ink.Count(top + 1, left, right) == 0) ++top;
  while (bottom - top >= 2 && ink.Count(bottom, left, right) == 0 && ink.Count(bottom - 1, left, right) == 0) --bottom;
  // Across, only the first digit matters: the right end may cut whatever
  // follows the number's end mark, which reading never looks at. A mark is
  // what reading takes for one (InkColumns): a stroke's edges, where a
  // plate or a box frame behind the digits, flat down the column, is none.
  PixelGrid band;
  ReadPixels(picture.copy(0, top, picture.width(), bottom - top + 1).convertToFormat(QImage::Format_RGB32), band);
  InkColumns marks(band, band.width, band.height);
  const auto columnCut = [&marks](int in, int out) { return marks.Ink(in) && marks.Ink(out); };
  grow(left, -1, picture.width(), [&](int in, int out) { return right - out < widest && columnCut(in, out); });

  fit.area = QRect(QPoint(left, top), QPoint(right, bottom));
  fit.top = drag.top() - top;
  fit.bottom = bottom - drag.bottom();
  fit.left = drag.left() - left;
  fit.right = right - drag.right();
  return fit;
}
