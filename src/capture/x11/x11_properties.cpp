#include "capture/x11/x11_properties.h"

#include <QStringDecoder>
#include <algorithm>

namespace {
// No real frame is this thick; a larger value is garbage, not geometry.
constexpr std::uint32_t kMaxFrameExtent = 4096;
}  // namespace

QString DecodeTitle(QByteArray bytes, TitleEncoding encoding) {
  while (bytes.endsWith('\0')) bytes.chop(1);
  switch (encoding) {
    case TitleEncoding::Utf8:
      return QString::fromUtf8(bytes);
    case TitleEncoding::Latin1:
      return QString::fromLatin1(bytes);
    case TitleEncoding::CompoundText: {
      QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
      const QString text = utf8.decode(bytes);
      return utf8.hasError() ? QString::fromLatin1(bytes) : text;
    }
  }
  return {};
}

bool PresentOutOfSight(const std::optional<std::vector<std::uint32_t>>& wmState,
                       const std::optional<std::vector<std::uint32_t>>& netWmState, std::uint32_t hiddenAtom) {
  constexpr std::uint32_t kNormalState = 1;
  constexpr std::uint32_t kIconicState = 3;
  if (wmState && !wmState->empty() && ((*wmState)[0] == kNormalState || (*wmState)[0] == kIconicState)) return true;
  return hiddenAtom != 0 && netWmState &&
         std::find(netWmState->begin(), netWmState->end(), hiddenAtom) != netWmState->end();
}

std::optional<QRect> GrowByFrameExtents(const QRect& client, const std::vector<std::uint32_t>& extents) {
  if (extents.size() != 4) return std::nullopt;
  for (const std::uint32_t e : extents) {
    if (e > kMaxFrameExtent) return std::nullopt;
  }
  const int left = static_cast<int>(extents[0]);
  const int right = static_cast<int>(extents[1]);
  const int top = static_cast<int>(extents[2]);
  const int bottom = static_cast<int>(extents[3]);
  return QRect(client.x() - left, client.y() - top, client.width() + left + right, client.height() + top + bottom);
}

bool Minimised(const std::optional<std::vector<std::uint32_t>>& wmState,
               const std::optional<std::vector<std::uint32_t>>& netWmState, std::uint32_t hiddenAtom) {
  constexpr std::uint32_t kIconicState = 3;
  if (wmState && !wmState->empty() && (*wmState)[0] == kIconicState) return true;
  return hiddenAtom != 0 && netWmState &&
         std::find(netWmState->begin(), netWmState->end(), hiddenAtom) != netWmState->end();
}

bool OnOtherDesktop(const std::optional<std::vector<std::uint32_t>>& windowDesktop,
                    const std::optional<std::vector<std::uint32_t>>& currentDesktop) {
  constexpr std::uint32_t kAllDesktops = 0xFFFFFFFFu;
  if (!windowDesktop || windowDesktop->empty() || !currentDesktop || currentDesktop->empty()) return false;
  return (*windowDesktop)[0] != kAllDesktops && (*windowDesktop)[0] != (*currentDesktop)[0];
}

bool DrawsNothingSeen(bool inputOnly, const std::optional<std::vector<std::uint32_t>>& opacity,
                      std::optional<int> inputRectangles) {
  if (inputOnly) return true;
  if (opacity && !opacity->empty() && (*opacity)[0] == 0) return true;
  return inputRectangles && *inputRectangles == 0;
}

std::vector<QRect> MonitorsWithin(const std::vector<QRect>& monitors, const QRect& bounds) {
  std::vector<QRect> within;
  for (const QRect& monitor : monitors) {
    const QRect cut = monitor.intersected(bounds);
    if (!cut.isEmpty()) within.push_back(cut);
  }
  return within;
}
