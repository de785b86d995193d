#include "recognition/unread_ink.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>

#include "recognition/ink_map.h"
#include "recognition/match_rule.h"

namespace {

constexpr int kMaxRows = 41;  // no pattern reads further down

using RowBits = std::uint64_t;

struct Stretch {
  int from;
  int to;
};

// The ink met walking from one end of the stretch until a gap of `gap`
// blank columns: a glyph when it spans two columns or more and reaches
// into half the rows or more.
std::optional<Stretch> TallGlyph(const InkMap& ink, Stretch s, int gap, bool backwards) {
  const int width = s.to - s.from;
  int first = -1;
  int last = -1;
  RowBits inkRows = 0;
  int blank = 0;
  for (int step = 0; step < width && blank < gap; ++step) {
    const int x = backwards ? s.to - 1 - step : s.from + step;
    const RowBits column = ink.Column(x);
    if (column == 0) {
      ++blank;
      continue;
    }
    blank = 0;
    if (first < 0) first = x;
    last = x;
    inkRows |= column;
  }
  if (first < 0 || first == last || std::popcount(inkRows) < (ink.rows + 1) / 2) return std::nullopt;
  return Stretch{std::min(first, last), std::max(first, last) + 1};
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
  // Found only when a stretch needs it: most readings have none.
  std::optional<InkMap> ink;
  const auto look = [&](UnreadPlace place, long long from, long long to, bool bounded,
                        bool backwards) -> std::optional<UnreadInk> {
    const Stretch s{static_cast<int>(std::clamp<long long>(from, 0, capture.width)),
                    static_cast<int>(std::clamp<long long>(to, 0, capture.width))};
    if (s.to - s.from < (bounded ? narrowest : 2)) return std::nullopt;
    if (!ink) ink = FindInk(capture, rows);
    const std::optional<Stretch> glyph = TallGlyph(*ink, s, cell, backwards);
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

namespace {

// The trace keeps the Japanese in every language; the screen shows the
// language of the windows.
QString Reason(const UnreadInk& ink, bool shown) {
  const auto text = [shown](const char* japanese) {
    return shown ? QCoreApplication::translate("UnreadInk", japanese) : QString::fromUtf8(japanese);
  };
  const char* where = "";
  switch (ink.place) {
    case UnreadPlace::BeforeFirstDigit:
      where = QT_TRANSLATE_NOOP("UnreadInk", "最初の数字の前");
      break;
    case UnreadPlace::BetweenDigits:
      where = QT_TRANSLATE_NOOP("UnreadInk", "数字の間");
      break;
    case UnreadPlace::BeforeDelimiter:
      where = QT_TRANSLATE_NOOP("UnreadInk", "デリミタの前");
      break;
    case UnreadPlace::AfterLastDigit:
      where = QT_TRANSLATE_NOOP("UnreadInk", "最後の数字の後");
      break;
  }
  //: Where the unread marks are, and their columns in the capture
  return text(QT_TRANSLATE_NOOP("UnreadInk", "%1に読めない文字（X:%2～%3）。未登録の数字かもしれません"))
      .arg(text(where))
      .arg(ink.from)
      .arg(ink.to - 1);
}

}  // namespace

QString UnreadInkReason(const UnreadInk& ink) { return Reason(ink, false); }

QString ShownUnreadInkReason(const UnreadInk& ink) { return Reason(ink, true); }
