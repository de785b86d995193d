#pragma once
// Reading window properties as the window manager and clients write them.
// Pure: works on the property bytes, not on the server.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

enum class TitleEncoding {
  Utf8,          // _NET_WM_NAME, or WM_NAME typed UTF8_STRING
  Latin1,        // WM_NAME typed STRING
  CompoundText,  // WM_NAME typed COMPOUND_TEXT: plain ASCII in practice
};

// The title as shown. Trailing NUL bytes that some clients store are not
// part of it.
QString DecodeTitle(QByteArray bytes, TitleEncoding encoding);

// Whether a client that is not viewable is still there, only out of sight:
// minimised (WM_STATE Iconic, or _NET_WM_STATE holding `hiddenAtom`), or on
// another virtual desktop (WM_STATE Normal while its frame is unmapped). A
// window nobody manages (no WM_STATE) that is not viewable has been taken
// away. `wmState` and `netWmState` are the properties' values, if present.
bool PresentOutOfSight(const std::optional<std::vector<std::uint32_t>>& wmState,
                       const std::optional<std::vector<std::uint32_t>>& netWmState, std::uint32_t hiddenAtom);

// The outer rectangle of a client whose window manager reports its frame
// as _NET_FRAME_EXTENTS (left, right, top, bottom); nothing when the
// property does not hold four plausible values.
std::optional<QRect> GrowByFrameExtents(const QRect& client, const std::vector<std::uint32_t>& extents);

// Whether a client is minimised: WM_STATE Iconic, or _NET_WM_STATE holding
// `hiddenAtom`.
bool Minimised(const std::optional<std::vector<std::uint32_t>>& wmState,
               const std::optional<std::vector<std::uint32_t>>& netWmState, std::uint32_t hiddenAtom);

// Whether a client's _NET_WM_DESKTOP names another desktop than the root's
// _NET_CURRENT_DESKTOP; a client on every desktop (0xFFFFFFFF), or either
// property missing, is on this one.
bool OnOtherDesktop(const std::optional<std::vector<std::uint32_t>>& windowDesktop,
                    const std::optional<std::vector<std::uint32_t>>& currentDesktop);

// Whether a mapped window draws nothing the player sees over what lies
// below: an input-only window, one whose _NET_WM_WINDOW_OPACITY is 0, or a
// click-through one (an input shape of no rectangles). `opacity` is the
// property's value if present, `inputRectangles` the number of rectangles
// of its input shape if known.
bool DrawsNothingSeen(bool inputOnly, const std::optional<std::vector<std::uint32_t>>& opacity,
                      std::optional<int> inputRectangles);

// The monitors RandR reports, each cut to the root window; those of no size
// there are left out.
std::vector<QRect> MonitorsWithin(const std::vector<QRect>& monitors, const QRect& bounds);
