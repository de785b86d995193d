#include "capture/x11/x11_window_system.h"

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
};

Atoms InternAtoms(xcb_connection_t* c) {
  static constexpr std::array<const char*, 10> kNames = {
      "_NET_CLIENT_LIST", "_NET_CLIENT_LIST_STACKING", "_NET_ACTIVE_WINDOW", "_NET_WM_NAME",
      "UTF8_STRING",      "COMPOUND_TEXT",             "_NET_FRAME_EXTENTS", "WM_STATE",
      "_NET_WM_STATE",    "_NET_WM_STATE_HIDDEN"};
  std::array<xcb_intern_atom_cookie_t, kNames.size()> cookies{};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::char_traits<char>::length(kNames[i])), kNames[i]);
  }
  std::array<xcb_atom_t, kNames.size()> atoms{};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const auto reply = TakeReply(xcb_intern_atom_reply, c, cookies[i]);
    atoms[i] = reply ? reply->atom : XCB_NONE;
  }
  return Atoms{atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5], atoms[6], atoms[7], atoms[8], atoms[9]};
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
      : c_(std::move(connection)), screen_(*screen), atoms_(InternAtoms(c_.get())) {}

  WindowId FindWindowByTitle(const QString& title) override;
  WindowId ForegroundWindow() override;
  std::optional<QRect> OuterRect(WindowId window) override;
  QSize ScreenSize() override;
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

  XcbConnection c_;
  const xcb_screen_t& screen_;
  Atoms atoms_;
  // What the last look saw, to ask the next one's questions in advance.
  std::vector<xcb_window_t> lastClients_;
  xcb_window_t lastActive_ = XCB_NONE;
};

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

QSize X11WindowSystem::ScreenSize() {
  if (Usable()) {
    const auto root = TakeReply(xcb_get_geometry_reply, c_.get(), xcb_get_geometry(c_.get(), screen_.root));
    if (root) return QSize(root->width, root->height);
  }
  return QSize(screen_.width_in_pixels, screen_.height_in_pixels);
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
  if (!look.inFront) return look;
  look.screen = rootGeometry ? QSize(rootGeometry->width, rootGeometry->height)
                             : QSize(screen_.width_in_pixels, screen_.height_in_pixels);
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
