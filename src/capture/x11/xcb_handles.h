#pragma once
// Ownership of XCB resources: replies are malloc'ed by XCB and freed with
// free(); a connection is closed with xcb_disconnect even when it failed.

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

struct XcbFree {
  void operator()(void* p) const noexcept { std::free(p); }
};
template <class T>
using XcbReply = std::unique_ptr<T, XcbFree>;

struct XcbDisconnect {
  void operator()(xcb_connection_t* c) const noexcept { xcb_disconnect(c); }
};
using XcbConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

// The reply to one request. An error (say, the window was destroyed a moment
// ago) comes back through the out-parameter and is simply freed: the caller
// sees no reply. Nothing is ever reported process-wide.
template <class Reply, class Cookie>
XcbReply<Reply> TakeReply(Reply* (*fetch)(xcb_connection_t*, Cookie, xcb_generic_error_t**), xcb_connection_t* c,
                          Cookie cookie) {
  xcb_generic_error_t* error = nullptr;
  XcbReply<Reply> reply(fetch(c, cookie, &error));
  std::free(error);
  return reply;
}
