#include "recognition/unread_ink.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>

#include "recognition/match_rule.h"

namespace {

// A pixel is ink when one channel lies this far from its row's middle value
// over the stretch. Noise of a few steps and a background that a pattern
// can still match (every channel within 20) stay well below; the core of a
// legible glyph is far above.
constexpr int kInkContrast = 48;
constexpr int kMaxRows = 41;  // no pattern reads further down

using RowBits = std::uint64_t;

struct Stretch {
  int from;
  int to;
};

// Per column of [from, to), the rows holding ink.
QVarLengthArray<RowBits, 128> InkColumns(const PixelGrid& capture, Stretch s, int rows) {
  const int width = s.to - s.from;
  QVarLengthArray<RowBits, 128> ink(width, 0);
  QVarLengthArray<std::uint8_t, 128> values(width);
  for (int y = 0; y < rows; ++y) {
    const std::uint32_t* row = capture.pixels.data() + static_cast<std::ptrdiff_t>(y) * capture.width + s.from;
    for (int shift = 0; shift < 24; shift += 8) {
      for (int i = 0; i < width; ++i) values[i] = static_cast<std::uint8_t>(row[i] >> shift);
      std::nth_element(values.begin(), values.begin() + width / 2, values.end());
      const int middle = values[width / 2];
      for (int i = 0; i < width; ++i) {
        if (std::abs(static_cast<int>(row[i] >> shift & 0xFF) - middle) > kInkContrast) ink[i] |= RowBits{1} << y;
      }
    }
  }
  return ink;
}

// The ink met walking from one end of the stretch until a gap of `gap`
// blank columns: a glyph when it spans two columns or more and reaches
// into half the rows or more. (A glyph that is mostly ink in some rows
// shows there only where it is not; its columns still span it.)
std::optional<Stretch> TallGlyph(const PixelGrid& capture, Stretch s, int rows, int gap, bool backwards) {
  const QVarLengthArray<RowBits, 128> ink = InkColumns(capture, s, rows);
  const int width = s.to - s.from;
  int first = -1;
  int last = -1;
  RowBits inkRows = 0;
  int blank = 0;
  for (int step = 0; step < width && blank < gap; ++step) {
    const int i = backwards ? width - 1 - step : step;
    if (ink[i] == 0) {
      ++blank;
      continue;
    }
    blank = 0;
    if (first < 0) first = i;
    last = i;
    inkRows |= ink[i];
  }
  if (first < 0 || std::abs(last - first) < 1 || std::popcount(inkRows) < (rows + 1) / 2) return std::nullopt;
  return Stretch{s.from + std::min(first, last), s.from + std::max(first, last) + 1};
}

}  // namespace

std::optional<UnreadInk> FindUnreadInk(const PixelGrid& capture, const ScanTrail& trail, int cellWidth, int cellHeight,
                                       bool taughtFromCaptures) {
  if (trail.digits.isEmpty() || !GridConsistent(capture)) return std::nullopt;
  const int rows = std::clamp(std::min(cellHeight, capture.height), 0, kMaxRows);
  if (rows == 0) return std::nullopt;
  const int cell = std::clamp(cellWidth, 2, kMaxRows);
  // A stretch narrower than this cannot hold a digit the scan passed over.
  const int narrowest = std::max(cell - 2, 2);
  const auto look = [&](UnreadPlace place, long long from, long long to, bool bounded,
                        bool backwards) -> std::optional<UnreadInk> {
    const Stretch s{static_cast<int>(std::clamp<long long>(from, 0, capture.width)),
                    static_cast<int>(std::clamp<long long>(to, 0, capture.width))};
    if (s.to - s.from < (bounded ? narrowest : 1)) return std::nullopt;
    const std::optional<Stretch> glyph = TallGlyph(capture, s, rows, cell, backwards);
    if (!glyph) return std::nullopt;
    return UnreadInk{place, glyph->from, glyph->to};
  };
  const auto end = [](const ScanTrail::Digit& d) { return static_cast<long long>(d.x) + std::max(d.width, 1); };

  if (taughtFromCaptures) {
    if (auto found = look(UnreadPlace::BeforeFirstDigit, 0, trail.digits.front().x, true, true)) return found;
  }
  for (qsizetype i = 0; i + 1 < trail.digits.size(); ++i) {
    if (auto found = look(UnreadPlace::BetweenDigits, end(trail.digits[i]), trail.digits[i + 1].x, true, false)) {
      return found;
    }
  }
  const long long last = end(trail.digits.back());
  if (trail.delimiterX >= 0) return look(UnreadPlace::BeforeDelimiter, last, trail.delimiterX, true, false);
  return look(UnreadPlace::AfterLastDigit, last, capture.width, false, false);
}

QString UnreadInkReason(const UnreadInk& ink) {
  QString where;
  switch (ink.place) {
    case UnreadPlace::BeforeFirstDigit:
      where = QStringLiteral("最初の数字の前");
      break;
    case UnreadPlace::BetweenDigits:
      where = QStringLiteral("数字の間");
      break;
    case UnreadPlace::BeforeDelimiter:
      where = QStringLiteral("デリミタの前");
      break;
    case UnreadPlace::AfterLastDigit:
      where = QStringLiteral("最後の数字の後");
      break;
  }
  return QStringLiteral("%1に読めない文字（X:%2～%3）。未登録の数字かもしれません")
      .arg(where)
      .arg(ink.from)
      .arg(ink.to - 1);
}
