#include "x11_state.h"

#include <QGuiApplication>
#include <QWidget>
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

} // namespace

bool OnX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

void SetSkipTaskbar(QWidget* window) {
    xcb_connection_t* c = OnX11() ? connection() : nullptr;
    if (!c)
        return;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    // Qt merges what is already there with its own states when it maps the window.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window->winId()), state,
                        XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(c);
}

void SetOpacityProperty(QWidget* window, uint32_t value) {
    xcb_connection_t* c = OnX11() ? connection() : nullptr;
    if (!c)
        return;
    const xcb_atom_t opacity = atom(c, "_NET_WM_WINDOW_OPACITY");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                        opacity, XCB_ATOM_CARDINAL, 32, 1, &value);
    xcb_flush(c);
}

} // namespace toolkit::qt
