#include "x11_state.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace toolkit::qt {

namespace {

xcb_connection_t* connection() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t a = reply->atom;
    std::free(reply);
    return a;
}

bool hasWindowManager(xcb_connection_t* c, xcb_window_t root) {
    auto cookie =
        xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    const bool found = reply && xcb_get_property_value_length(reply) > 0;
    std::free(reply);
    return found;
}

} // namespace

bool OnX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void SetSkipTaskbar(uintptr_t window) {
    xcb_connection_t* c = OnX11() ? connection() : nullptr;
    if (!c)
        return;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const auto id = static_cast<xcb_window_t>(window);
    // A window manager changes the state of a mapped window on request; without one, the
    // property is all there is.
    xcb_client_message_event_t ev = {};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = id;
    ev.type = state;
    ev.data.data32[0] = 1; // _NET_WM_STATE_ADD
    ev.data.data32[1] = skip;
    ev.data.data32[3] = 1; // from a normal application
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    if (!hasWindowManager(c, root))
        xcb_change_property(c, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(c);
}

void FlushX11() {
    if (xcb_connection_t* c = OnX11() ? connection() : nullptr)
        xcb_flush(c);
}

void SetOpacityProperty(uintptr_t window, uint32_t value) {
    xcb_connection_t* c = OnX11() ? connection() : nullptr;
    if (!c)
        return;
    const xcb_atom_t opacity = atom(c, "_NET_WM_WINDOW_OPACITY");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window), opacity,
                        XCB_ATOM_CARDINAL, 32, 1, &value);
    xcb_flush(c);
}

} // namespace toolkit::qt
