#include "X11.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace fw::qt {
namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

}  // namespace

QtArguments ReadQtArguments(int argc, char** argv) {
  QtArguments given;
  for (int i = 1; i + 1 < argc; ++i) {
    std::string option = argv[i];
    if (option.rfind("--", 0) == 0) option.erase(0, 1);
    if (option == "-platform")
      given.platform = argv[++i];
    else if (option == "-display")
      given.display = argv[++i];
  }
  return given;
}

std::string DisplayProblem() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return "no X display: DISPLAY is not set";
  xcb_connection_t* c = xcb_connect(name, nullptr);
  const bool broken = xcb_connection_has_error(c) != 0;
  xcb_disconnect(c);
  return broken ? "cannot open the X display \"" + std::string(name) + "\"" : "";
}

bool DisplayConnectionBroken() {
  xcb_connection_t* c = Connection();
  return c && xcb_connection_has_error(c) != 0;
}

PointerQuery::~PointerQuery() {
  if (connection_) xcb_disconnect(connection_);
}

bool PointerQuery::Position(QPoint& position) {
  if (!connection_) {
    // The display Qt is on; none when Qt is not on X11.
    if (!Connection()) return false;
    int screen = 0;
    connection_ = xcb_connect(nullptr, &screen);
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen && roots.rem > 0; ++i) xcb_screen_next(&roots);
    root_ = roots.rem > 0 ? roots.data->root : 0;
  }
  if (xcb_connection_has_error(connection_) || root_ == 0) return false;
  xcb_query_pointer_reply_t* reply =
      xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr);
  if (!reply) return false;
  position = QPoint(reply->root_x, reply->root_y);
  std::free(reply);
  return true;
}

void ShowEmptyTitle(WId window) {
  xcb_connection_t* c = Connection();
  if (!c || window == 0) return;
  static const xcb_atom_t netName = Atom(c, "_NET_WM_NAME"), utf8 = Atom(c, "UTF8_STRING");
  const auto id = xcb_window_t(window);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
  if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE)
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, netName, utf8, 8, 0, nullptr);
  xcb_flush(c);
}

bool DestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) == XCB_DESTROY_NOTIFY)
    destroyed_(WId(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window));
  return false;
}

}  // namespace fw::qt
