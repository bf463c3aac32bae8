#pragma once
// Window-manager hints that Qt has no API for, set through the X connection Qt already holds.
#include <cstdint>

class QWidget;

namespace toolkit::qt {

bool OnX11();
// Keeps the window off the taskbar; call after the native window exists, before it is mapped.
void SetSkipTaskbar(QWidget* window);
// _NET_WM_WINDOW_OPACITY, for an alpha Qt itself would not write (fully opaque).
void SetOpacityProperty(QWidget* window, uint32_t value);

} // namespace toolkit::qt
