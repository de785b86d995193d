#include "capture/x11/x11_window_system.h"

#include <xcb/randr.h>
#include <xcb/shape.h>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "capture/x11/x11_pixels.h"
#include "capture/x11/x11_properties.h"
#include "capture/x11/xcb_handles.h"

namespace {

struct Atoms {
  xcb_atom_t clientList = XCB_NONE;
  xcb_atom_t clientListStacking = XCB_NONE;
  xcb_atom_t activeWindow = XCB_NONE;
  xcb_atom_t netWmName = XCB_NONE;
  xcb_atom_t utf8String = XCB_NONE;
  xcb_atom_t compoundText = XCB_NONE;
  xcb_atom_t frameExtents = XCB_NONE;
  xcb_atom_t wmState = XCB_NONE;
  xcb_atom_t netWmState = XCB_NONE;
  xcb_atom_t netWmStateHidden = XCB_NONE;
  xcb_atom_t netWmDesktop = XCB_NONE;
  xcb_atom_t netCurrentDesktop = XCB_NONE;
  xcb_atom_t netWmWindowOpacity = XCB_NONE;
};

Atoms InternAtoms(xcb_connection_t* c) {
  static constexpr std::array<const char*, 13> kNames = {
      "_NET_CLIENT_LIST", "_NET_CLIENT_LIST_STACKING", "_NET_ACTIVE_WINDOW",   "_NET_WM_NAME",
      "UTF8_STRING",      "COMPOUND_TEXT",             "_NET_FRAME_EXTENTS",   "WM_STATE",
      "_NET_WM_STATE",    "_NET_WM_STATE_HIDDEN",      "_NET_WM_DESKTOP",      "_NET_CURRENT_DESKTOP",
      "_NET_WM_WINDOW_OPACITY"};
  std::array<xcb_intern_atom_cookie_t, kNames.size()> cookies{};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::char_traits<char>::length(kNames[i])), kNames[i]);
  }
  std::array<xcb_atom_t, kNames.size()> atoms{};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const auto reply = TakeReply(xcb_intern_atom_reply, c, cookies[i]);
    atoms[i] = reply ? reply->atom : XCB_NONE;
  }
  return Atoms{atoms[0], atoms[1], atoms[2], atoms[3],  atoms[4],  atoms[5], atoms[6],
               atoms[7], atoms[8], atoms[9], atoms[10], atoms[11], atoms[12]};
}

// The values of a 32-bit list property; nothing when it is absent.
std::optional<std::vector<std::uint32_t>> ListFromReply(const XcbReply<xcb_get_property_reply_t>& reply) {
  if (!reply || reply->type == XCB_NONE || reply->format != 32) return std::nullopt;
  const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  const int count = xcb_get_property_value_length(reply.get()) / 4;
  return std::vector<std::uint32_t>(values, values + count);
}

constexpr std::uint32_t kMaxClients = 4096;

// The managed clients, topmost first (the order the player sees them in),
// from the window manager's two lists, the stacking one preferred.
std::vector<xcb_window_t> ClientsFrom(const std::optional<std::vector<std::uint32_t>>& stacking,
                                      const std::optional<std::vector<std::uint32_t>>& list) {
  if (stacking) return {stacking->rbegin(), stacking->rend()};
  if (list) return {list->begin(), list->end()};
  return {};
}

class X11WindowSystem : public WindowSystem {
 public:
  // `screen` lies in the connection's setup data (its visuals follow it
  // there), so it is referred to, not copied; it lives as long as the
  // connection.
  X11WindowSystem(XcbConnection connection, const xcb_screen_t* screen)
      : c_(std::move(connection)), screen_(*screen), atoms_(InternAtoms(c_.get())) {
    AskExtensions();
  }

  WindowId FindWindowByTitle(const QString& title) override;
  WindowId ForegroundWindow() override;
  std::optional<QRect> OuterRect(WindowId window) override;
  Desktop DesktopLayout() override;
  std::optional<WindowSight> SightOf(WindowId window) override;
  QImage GrabScreen(const QRect& rect) override;
  WindowLook LookAt(const QString& title) override;
  std::vector<QImage> GrabScreens(const std::vector<QRect>& rects, WindowId window) override;
  void Beep() override;

 private:
  // Requests sent and not yet answered: sending every request of a step
  // before taking the first reply costs one round trip instead of one each.
  struct TitleQuery {
    xcb_window_t window;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t netName;
    xcb_get_property_cookie_t wmName;
  };
  struct OuterQuery {
    xcb_window_t window;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t position;
    xcb_get_property_cookie_t extents;
  };
  std::vector<TitleQuery> AskTitles(const std::vector<xcb_window_t>& candidates, const QString& title);
  xcb_window_t FirstViewableTitled(const std::vector<TitleQuery>& asked, const QString& title);
  OuterQuery AskOuter(xcb_window_t window);
  std::optional<QRect> OuterFrom(const OuterQuery& asked);
  xcb_get_image_cookie_t AskImage(const QRect& rect);
  QImage ImageFrom(const QRect& rect, xcb_get_image_cookie_t cookie);

  bool Usable();
  std::optional<std::vector<std::uint32_t>> ListProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                                         std::uint32_t maxValues);
  void Discard(const std::vector<TitleQuery>& asked);
  void Discard(const std::optional<OuterQuery>& asked);
  std::vector<xcb_window_t> ClientsTopFirst();
  std::vector<xcb_window_t> TreeTopFirst();
  bool OutOfSight(xcb_window_t window);
  std::vector<xcb_window_t> AncestorsBelowRoot(xcb_window_t window);
  std::optional<QRect> FrameOf(xcb_window_t topLevel);
  std::optional<ZPixmapLayout> LayoutFor(const xcb_get_image_reply_t& reply, int width, int height) const;
  void AskExtensions();
  std::optional<xcb_randr_get_monitors_cookie_t> AskMonitors();
  Desktop DesktopFrom(const XcbReply<xcb_get_geometry_reply_t>& root,
                      const std::optional<xcb_randr_get_monitors_cookie_t>& monitors);
  std::vector<OtherWindow> WindowsAbove(const std::vector<xcb_window_t>& above);

  XcbConnection c_;
  const xcb_screen_t& screen_;
  Atoms atoms_;
  // What the last look saw, to ask the next one's questions in advance.
  std::vector<xcb_window_t> lastClients_;
  xcb_window_t lastActive_ = XCB_NONE;
  // RandR 1.5 lists the monitors; the shape extension tells click-through
  // windows.
  bool monitorsKnown_ = false;
  bool shapeKnown_ = false;
};

void X11WindowSystem::AskExtensions() {
  xcb_connection_t* c = c_.get();
  const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
  if (randr != nullptr && randr->present != 0) {
    const auto version = TakeReply(xcb_randr_query_version_reply, c, xcb_randr_query_version(c, 1, 5));
    monitorsKnown_ = version && (version->major_version > 1 || version->minor_version >= 5);
  }
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(c, &xcb_shape_id);
  shapeKnown_ = shape != nullptr && shape->present != 0;
}

std::optional<xcb_randr_get_monitors_cookie_t> X11WindowSystem::AskMonitors() {
  if (!monitorsKnown_) return std::nullopt;
  return xcb_randr_get_monitors(c_.get(), screen_.root, 1);
}

Desktop X11WindowSystem::DesktopFrom(const XcbReply<xcb_get_geometry_reply_t>& root,
                                     const std::optional<xcb_randr_get_monitors_cookie_t>& monitors) {
  Desktop desktop;
  desktop.bounds = root ? QRect(0, 0, root->width, root->height)
                        : QRect(0, 0, screen_.width_in_pixels, screen_.height_in_pixels);
  if (monitors) {
    const auto reply = TakeReply(xcb_randr_get_monitors_reply, c_.get(), *monitors);
    if (reply) {
      std::vector<QRect> rects;
      for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0;
           xcb_randr_monitor_info_next(&it)) {
        rects.emplace_back(it.data->x, it.data->y, it.data->width, it.data->height);
      }
      desktop.monitors = MonitorsWithin(rects, desktop.bounds);
    }
  }
  if (desktop.monitors.empty()) desktop.monitors.push_back(desktop.bounds);
  return desktop;
}

bool X11WindowSystem::Usable() {
  if (xcb_connection_has_error(c_.get()) != 0) return false;
  // Errors of requests without replies arrive as events; nothing else is
  // selected. Dropping them keeps the queue from growing over a long run.
  while (xcb_generic_event_t* event = xcb_poll_for_event(c_.get())) std::free(event);
  return true;
}

std::optional<std::vector<std::uint32_t>> X11WindowSystem::ListProperty(xcb_window_t window, xcb_atom_t property,
                                                                        xcb_atom_t type, std::uint32_t maxValues) {
  const auto cookie = xcb_get_property(c_.get(), 0, window, property, type, 0, maxValues);
  return ListFromReply(TakeReply(xcb_get_property_reply, c_.get(), cookie));
}

std::vector<xcb_window_t> X11WindowSystem::ClientsTopFirst() {
  xcb_connection_t* c = c_.get();
  const auto stacking =
      xcb_get_property(c, 0, screen_.root, atoms_.clientListStacking, XCB_ATOM_WINDOW, 0, kMaxClients);
  const auto list = xcb_get_property(c, 0, screen_.root, atoms_.clientList, XCB_ATOM_WINDOW, 0, kMaxClients);
  return ClientsFrom(ListFromReply(TakeReply(xcb_get_property_reply, c, stacking)),
                     ListFromReply(TakeReply(xcb_get_property_reply, c, list)));
}

// Without a window manager clients are children of the root; under one that
// does not publish a client list they sit one level down, in their frames.
std::vector<xcb_window_t> X11WindowSystem::TreeTopFirst() {
  std::vector<xcb_window_t> result;
  const auto rootTree = TakeReply(xcb_query_tree_reply, c_.get(), xcb_query_tree(c_.get(), screen_.root));
  if (!rootTree) return result;
  const xcb_window_t* children = xcb_query_tree_children(rootTree.get());
  const int count = xcb_query_tree_children_length(rootTree.get());
  std::vector<xcb_query_tree_cookie_t> cookies;
  cookies.reserve(static_cast<std::size_t>(count));
  for (int i = count - 1; i >= 0; --i) cookies.push_back(xcb_query_tree(c_.get(), children[i]));
  for (int i = count - 1, k = 0; i >= 0; --i, ++k) {
    result.push_back(children[i]);
    const auto tree = TakeReply(xcb_query_tree_reply, c_.get(), cookies[static_cast<std::size_t>(k)]);
    if (!tree) continue;
    const xcb_window_t* inner = xcb_query_tree_children(tree.get());
    for (int j = xcb_query_tree_children_length(tree.get()) - 1; j >= 0; --j) result.push_back(inner[j]);
  }
  return result;
}

std::vector<X11WindowSystem::TitleQuery> X11WindowSystem::AskTitles(const std::vector<xcb_window_t>& candidates,
                                                                     const QString& title) {
  // Long enough to hold the wanted title; anything longer is not it.
  const std::uint32_t words = static_cast<std::uint32_t>(title.toUtf8().size()) / 4 + 2;
  std::vector<TitleQuery> asked;
  asked.reserve(candidates.size());
  for (const xcb_window_t w : candidates) {
    asked.push_back({w, xcb_get_window_attributes(c_.get(), w),
                     xcb_get_property(c_.get(), 0, w, atoms_.netWmName, atoms_.utf8String, 0, words),
                     xcb_get_property(c_.get(), 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, words)});
  }
  return asked;
}

xcb_window_t X11WindowSystem::FirstViewableTitled(const std::vector<TitleQuery>& asked, const QString& title) {
  // Every reply is taken, even after a match, so none is left queued.
  xcb_window_t found = XCB_NONE;
  for (const TitleQuery& p : asked) {
    const auto attributes = TakeReply(xcb_get_window_attributes_reply, c_.get(), p.attributes);
    const auto netName = TakeReply(xcb_get_property_reply, c_.get(), p.netName);
    const auto wmName = TakeReply(xcb_get_property_reply, c_.get(), p.wmName);
    if (found != XCB_NONE || !attributes) continue;

    const xcb_get_property_reply_t* name = nullptr;
    TitleEncoding encoding = TitleEncoding::Utf8;
    if (netName && netName->type != XCB_NONE) {
      name = netName.get();
    } else if (wmName && wmName->type != XCB_NONE) {
      name = wmName.get();
      if (wmName->type == XCB_ATOM_STRING) {
        encoding = TitleEncoding::Latin1;
      } else if (wmName->type == atoms_.compoundText) {
        encoding = TitleEncoding::CompoundText;
      } else if (wmName->type != atoms_.utf8String) {
        continue;
      }
    }
    if (name == nullptr || name->format != 8 || name->bytes_after != 0) continue;
    const QByteArray bytes(static_cast<const char*>(xcb_get_property_value(name)),
                           xcb_get_property_value_length(name));
    if (DecodeTitle(bytes, encoding) != title) continue;
    // A minimised game, or one on another desktop, is running all the
    // same: it is simply not in front.
    if (attributes->map_state == XCB_MAP_STATE_VIEWABLE || OutOfSight(p.window)) found = p.window;
  }
  return found;
}

bool X11WindowSystem::OutOfSight(xcb_window_t window) {
  constexpr std::uint32_t kMaxStates = 64;
  return PresentOutOfSight(ListProperty(window, atoms_.wmState, atoms_.wmState, 2),
                           ListProperty(window, atoms_.netWmState, XCB_ATOM_ATOM, kMaxStates),
                           atoms_.netWmStateHidden);
}

WindowId X11WindowSystem::FindWindowByTitle(const QString& title) {
  if (!Usable()) return 0;
  const xcb_window_t client = FirstViewableTitled(AskTitles(ClientsTopFirst(), title), title);
  if (client != XCB_NONE) return client;
  return FirstViewableTitled(AskTitles(TreeTopFirst(), title), title);
}

// From `window` up to the top-level window just below the root, inclusive;
// empty when the window is gone.
std::vector<xcb_window_t> X11WindowSystem::AncestorsBelowRoot(xcb_window_t window) {
  std::vector<xcb_window_t> chain;
  constexpr int kMaxDepth = 64;
  while (window != XCB_NONE && window != screen_.root && chain.size() < kMaxDepth) {
    const auto tree = TakeReply(xcb_query_tree_reply, c_.get(), xcb_query_tree(c_.get(), window));
    if (!tree) return {};
    chain.push_back(window);
    window = tree->parent;
  }
  if (window != screen_.root) return {};
  return chain;
}

WindowId X11WindowSystem::ForegroundWindow() {
  if (!Usable()) return 0;
  if (const auto active = ListProperty(screen_.root, atoms_.activeWindow, XCB_ATOM_WINDOW, 1)) {
    if (active->empty() || (*active)[0] == XCB_NONE) return 0;
    // The window manager may not have noticed yet that the active window
    // was destroyed; a window that no longer exists is not in front.
    const xcb_window_t window = (*active)[0];
    const auto attributes =
        TakeReply(xcb_get_window_attributes_reply, c_.get(), xcb_get_window_attributes(c_.get(), window));
    return attributes ? window : 0;
  }
  // No window manager to say which window is active: the one with the
  // keyboard focus, taken up to its top level.
  const auto focus = TakeReply(xcb_get_input_focus_reply, c_.get(), xcb_get_input_focus(c_.get()));
  if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT) return 0;
  const std::vector<xcb_window_t> chain = AncestorsBelowRoot(focus->focus);
  if (chain.empty()) return 0;
  // A client inside a frame carries WM_STATE; report the client, as a title
  // search finds it.
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (ListProperty(*it, atoms_.wmState, atoms_.wmState, 2)) return *it;
  }
  return chain.back();
}

std::optional<QRect> X11WindowSystem::FrameOf(xcb_window_t topLevel) {
  const auto geometry = TakeReply(xcb_get_geometry_reply, c_.get(), xcb_get_geometry(c_.get(), topLevel));
  if (!geometry) return std::nullopt;
  const int border = geometry->border_width;
  return QRect(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border);
}

X11WindowSystem::OuterQuery X11WindowSystem::AskOuter(xcb_window_t window) {
  return {window, xcb_get_geometry(c_.get(), window), xcb_translate_coordinates(c_.get(), window, screen_.root, 0, 0),
          xcb_get_property(c_.get(), 0, window, atoms_.frameExtents, XCB_ATOM_CARDINAL, 0, 4)};
}

std::optional<QRect> X11WindowSystem::OuterFrom(const OuterQuery& asked) {
  const auto geometry = TakeReply(xcb_get_geometry_reply, c_.get(), asked.geometry);
  const auto position = TakeReply(xcb_translate_coordinates_reply, c_.get(), asked.position);
  const auto extents = ListFromReply(TakeReply(xcb_get_property_reply, c_.get(), asked.extents));
  if (!geometry || !position) return std::nullopt;

  const int border = geometry->border_width;
  const QRect client(position->dst_x - border, position->dst_y - border, geometry->width + 2 * border,
                     geometry->height + 2 * border);
  if (extents) {
    if (const auto outer = GrowByFrameExtents(client, *extents)) return outer;
  }
  // A frame that does not announce itself: the top-level ancestor is it.
  const std::vector<xcb_window_t> chain = AncestorsBelowRoot(asked.window);
  if (chain.empty()) return std::nullopt;
  if (chain.back() != asked.window) return FrameOf(chain.back());
  return client;
}

std::optional<QRect> X11WindowSystem::OuterRect(WindowId id) {
  if (!Usable() || id == 0 || id > std::numeric_limits<xcb_window_t>::max()) return std::nullopt;
  return OuterFrom(AskOuter(static_cast<xcb_window_t>(id)));
}

Desktop X11WindowSystem::DesktopLayout() {
  if (!Usable()) return DesktopFrom(nullptr, std::nullopt);
  const auto rootCookie = xcb_get_geometry(c_.get(), screen_.root);
  const auto monitors = AskMonitors();
  return DesktopFrom(TakeReply(xcb_get_geometry_reply, c_.get(), rootCookie), monitors);
}

std::vector<OtherWindow> X11WindowSystem::WindowsAbove(const std::vector<xcb_window_t>& above) {
  xcb_connection_t* c = c_.get();
  struct Asked {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
    xcb_get_property_cookie_t opacity;
    std::optional<xcb_shape_get_rectangles_cookie_t> input;
  };
  std::vector<Asked> asked;
  asked.reserve(above.size());
  for (const xcb_window_t w : above) {
    asked.push_back({xcb_get_window_attributes(c, w), xcb_get_geometry(c, w),
                     xcb_get_property(c, 0, w, atoms_.netWmWindowOpacity, XCB_ATOM_CARDINAL, 0, 1),
                     shapeKnown_ ? std::optional(xcb_shape_get_rectangles(c, w, XCB_SHAPE_SK_INPUT)) : std::nullopt});
  }
  std::vector<OtherWindow> windows;
  for (const Asked& a : asked) {
    const auto attributes = TakeReply(xcb_get_window_attributes_reply, c, a.attributes);
    const auto geometry = TakeReply(xcb_get_geometry_reply, c, a.geometry);
    const auto opacity = ListFromReply(TakeReply(xcb_get_property_reply, c, a.opacity));
    XcbReply<xcb_shape_get_rectangles_reply_t> input;
    if (a.input) input = TakeReply(xcb_shape_get_rectangles_reply, c, *a.input);
    // Unmapped, or gone since the tree was read: nothing there.
    if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
    const int border = geometry->border_width;
    OtherWindow other;
    other.rect = QRect(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border);
    other.seeThrough = DrawsNothingSeen(attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY, opacity,
                                        input ? std::optional<int>(xcb_shape_get_rectangles_rectangles_length(input.get()))
                                              : std::nullopt);
    windows.push_back(other);
  }
  std::reverse(windows.begin(), windows.end());  // asked bottom first; topmost first
  return windows;
}

std::optional<WindowSight> X11WindowSystem::SightOf(WindowId id) {
  if (!Usable() || id == 0 || id > std::numeric_limits<xcb_window_t>::max()) return std::nullopt;
  xcb_connection_t* c = c_.get();
  const auto window = static_cast<xcb_window_t>(id);
  const std::vector<xcb_window_t> chain = AncestorsBelowRoot(window);
  if (chain.empty()) return std::nullopt;
  const xcb_window_t topLevel = chain.back();
  constexpr std::uint32_t kMaxStates = 64;
  const auto treeCookie = xcb_query_tree(c, screen_.root);
  const OuterQuery outer = AskOuter(window);
  const auto topCookie = xcb_get_window_attributes(c, topLevel);
  const auto wmStateCookie = xcb_get_property(c, 0, window, atoms_.wmState, atoms_.wmState, 0, 2);
  const auto netStateCookie = xcb_get_property(c, 0, window, atoms_.netWmState, XCB_ATOM_ATOM, 0, kMaxStates);
  const auto desktopCookie = xcb_get_property(c, 0, window, atoms_.netWmDesktop, XCB_ATOM_CARDINAL, 0, 1);
  const auto currentCookie = xcb_get_property(c, 0, screen_.root, atoms_.netCurrentDesktop, XCB_ATOM_CARDINAL, 0, 1);

  const auto tree = TakeReply(xcb_query_tree_reply, c, treeCookie);
  const std::optional<QRect> outerRect = OuterFrom(outer);
  const auto top = TakeReply(xcb_get_window_attributes_reply, c, topCookie);
  const auto wmState = ListFromReply(TakeReply(xcb_get_property_reply, c, wmStateCookie));
  const auto netState = ListFromReply(TakeReply(xcb_get_property_reply, c, netStateCookie));
  const auto desktop = ListFromReply(TakeReply(xcb_get_property_reply, c, desktopCookie));
  const auto current = ListFromReply(TakeReply(xcb_get_property_reply, c, currentCookie));
  if (!tree || !outerRect || !top) return std::nullopt;

  WindowSight sight;
  sight.outer = *outerRect;
  sight.minimised = Minimised(wmState, netState, atoms_.netWmStateHidden);
  sight.otherDesktop = !sight.minimised && OnOtherDesktop(desktop, current);
  // Neither, and still not on the screen: withdrawn as good as minimised.
  if (top->map_state != XCB_MAP_STATE_VIEWABLE && !sight.otherDesktop) sight.minimised = true;
  // The root's children from the bottom up: those after the game's own
  // top-level window are above it.
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  const int count = xcb_query_tree_children_length(tree.get());
  const xcb_window_t* end = children + count;
  const xcb_window_t* self = std::find(children, end, topLevel);
  if (self != end) sight.above = WindowsAbove(std::vector<xcb_window_t>(self + 1, end));
  return sight;
}

std::optional<ZPixmapLayout> X11WindowSystem::LayoutFor(const xcb_get_image_reply_t& reply, int width,
                                                        int height) const {
  const xcb_setup_t* setup = xcb_get_setup(c_.get());
  ZPixmapLayout layout;
  layout.width = width;
  layout.height = height;
  layout.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;

  bool formatFound = false;
  for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
    if (it.data->depth != reply.depth) continue;
    layout.bitsPerPixel = it.data->bits_per_pixel;
    layout.bytesPerLine = ZPixmapStride(width, it.data->bits_per_pixel, it.data->scanline_pad);
    formatFound = true;
    break;
  }
  if (!formatFound) return std::nullopt;

  for (auto depths = xcb_screen_allowed_depths_iterator(&screen_); depths.rem > 0; xcb_depth_next(&depths)) {
    for (auto v = xcb_depth_visuals_iterator(depths.data); v.rem > 0; xcb_visualtype_next(&v)) {
      if (v.data->visual_id != reply.visual) continue;
      layout.redMask = v.data->red_mask;
      layout.greenMask = v.data->green_mask;
      layout.blueMask = v.data->blue_mask;
      return layout;
    }
  }
  return std::nullopt;
}

xcb_get_image_cookie_t X11WindowSystem::AskImage(const QRect& rect) {
  return xcb_get_image(c_.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen_.root, static_cast<std::int16_t>(rect.x()),
                       static_cast<std::int16_t>(rect.y()), static_cast<std::uint16_t>(rect.width()),
                       static_cast<std::uint16_t>(rect.height()), std::numeric_limits<std::uint32_t>::max());
}

QImage X11WindowSystem::ImageFrom(const QRect& rect, xcb_get_image_cookie_t cookie) {
  const auto image = TakeReply(xcb_get_image_reply, c_.get(), cookie);
  if (!image) return {};
  const auto layout = LayoutFor(*image, rect.width(), rect.height());
  if (!layout) return {};
  return ConvertZPixmap(xcb_get_image_data(image.get()), static_cast<std::size_t>(xcb_get_image_data_length(image.get())),
                        *layout);
}

QImage X11WindowSystem::GrabScreen(const QRect& rect) {
  // The caller clips to the screen; a rectangle that still reaches past the
  // root is refused by the server (BadMatch: no reply), so asking for the
  // screen's size again here would only cost a round trip per grab.
  if (!Usable() || rect.isEmpty()) return {};
  return ImageFrom(rect, AskImage(rect));
}

std::vector<QImage> X11WindowSystem::GrabScreens(const std::vector<QRect>& rects, WindowId window) {
  std::vector<QImage> images(rects.size());
  if (!Usable() || window == 0 || window > std::numeric_limits<xcb_window_t>::max()) return images;
  std::vector<xcb_get_image_cookie_t> cookies;
  cookies.reserve(rects.size());
  for (const QRect& rect : rects) cookies.push_back(rect.isEmpty() ? xcb_get_image_cookie_t{} : AskImage(rect));
  // The server answers in order: a window whose geometry is still known
  // after the images were read was there while they were read.
  const auto there = xcb_get_geometry(c_.get(), static_cast<xcb_window_t>(window));
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (!rects[i].isEmpty()) images[i] = ImageFrom(rects[i], cookies[i]);
  }
  if (!TakeReply(xcb_get_geometry_reply, c_.get(), there)) images.assign(rects.size(), QImage());
  return images;
}

void X11WindowSystem::Discard(const std::vector<TitleQuery>& asked) {
  for (const TitleQuery& q : asked) {
    xcb_discard_reply(c_.get(), q.attributes.sequence);
    xcb_discard_reply(c_.get(), q.netName.sequence);
    xcb_discard_reply(c_.get(), q.wmName.sequence);
  }
}

void X11WindowSystem::Discard(const std::optional<OuterQuery>& asked) {
  if (!asked) return;
  xcb_discard_reply(c_.get(), asked->geometry.sequence);
  xcb_discard_reply(c_.get(), asked->position.sequence);
  xcb_discard_reply(c_.get(), asked->extents.sequence);
}

WindowLook X11WindowSystem::LookAt(const QString& title) {
  if (!Usable()) return {};
  xcb_connection_t* c = c_.get();
  const xcb_window_t root = screen_.root;
  // What the window manager publishes on the root and the screen's size,
  // together with what the look needs of the windows it names: the clients'
  // titles and where the active window lies. Which windows those are is
  // only known from the answer, so they are asked of the windows the last
  // look saw; the list hardly ever changes from one look to the next, and
  // when it has, they are asked again.
  const auto stackingCookie = xcb_get_property(c, 0, root, atoms_.clientListStacking, XCB_ATOM_WINDOW, 0, kMaxClients);
  const auto listCookie = xcb_get_property(c, 0, root, atoms_.clientList, XCB_ATOM_WINDOW, 0, kMaxClients);
  const auto activeCookie = xcb_get_property(c, 0, root, atoms_.activeWindow, XCB_ATOM_WINDOW, 0, 1);
  const auto rootCookie = xcb_get_geometry(c, root);
  const auto monitorsCookie = AskMonitors();
  std::vector<TitleQuery> titles = AskTitles(lastClients_, title);
  std::optional<OuterQuery> outer;
  if (lastActive_ != XCB_NONE) outer = AskOuter(lastActive_);

  const auto stacking = ListFromReply(TakeReply(xcb_get_property_reply, c, stackingCookie));
  const auto list = ListFromReply(TakeReply(xcb_get_property_reply, c, listCookie));
  const auto active = ListFromReply(TakeReply(xcb_get_property_reply, c, activeCookie));
  const auto rootGeometry = TakeReply(xcb_get_geometry_reply, c, rootCookie);
  const std::vector<xcb_window_t> clients = ClientsFrom(stacking, list);
  const xcb_window_t activeWindow = active && !active->empty() ? (*active)[0] : XCB_NONE;
  if (clients != lastClients_) {
    Discard(titles);
    titles = AskTitles(clients, title);
  }
  if (activeWindow != lastActive_) {
    Discard(outer);
    outer.reset();
    if (activeWindow != XCB_NONE) outer = AskOuter(activeWindow);
  }
  lastClients_ = clients;
  lastActive_ = activeWindow;
  // Without a client list or an active window the search and the
  // foreground test take the longer ways that know how.
  if (clients.empty() || !active) {
    Discard(titles);
    Discard(outer);
    if (monitorsCookie) xcb_discard_reply(c, monitorsCookie->sequence);
    return WindowSystem::LookAt(title);
  }

  WindowLook look;
  const xcb_window_t game = FirstViewableTitled(titles, title);
  if (game != XCB_NONE && game == activeWindow) {
    look.window = game;
    look.inFront = true;
    look.outer = OuterFrom(*outer);
  } else {
    Discard(outer);
    // A game the window manager does not list is looked for as
    // FindWindowByTitle looks for it.
    look.window = game != XCB_NONE ? game : FirstViewableTitled(AskTitles(TreeTopFirst(), title), title);
    look.inFront = look.window != 0 && look.window == activeWindow;
    if (look.inFront) look.outer = OuterRect(look.window);
  }
  look.desktop = DesktopFrom(rootGeometry, monitorsCookie);
  if (!look.inFront) look.desktop = Desktop();
  return look;
}

void X11WindowSystem::Beep() {
  if (!Usable()) return;
  xcb_bell(c_.get(), 0);
  xcb_flush(c_.get());
}

}  // namespace

std::unique_ptr<WindowSystem> OpenX11WindowSystem(const char* display) {
  int screenNumber = 0;
  XcbConnection connection(xcb_connect(display, &screenNumber));
  if (!connection || xcb_connection_has_error(connection.get()) != 0) return nullptr;
  auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
  for (int i = 0; i < screenNumber && roots.rem > 0; ++i) xcb_screen_next(&roots);
  if (roots.rem <= 0 || roots.data == nullptr) return nullptr;
  const xcb_screen_t* screen = roots.data;
  return std::make_unique<X11WindowSystem>(std::move(connection), screen);
}
