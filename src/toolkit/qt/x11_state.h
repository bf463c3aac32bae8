#pragma once
// Window-manager hints that Qt has no API for, set through the X connection Qt already holds.
#include <cstdint>

namespace toolkit::qt {

bool OnX11();
// Keeps the window off the taskbar; call once the window is mapped.
void SetSkipTaskbar(uintptr_t window);
// Sends the requests queued on Qt's X connection now.
void FlushX11();
// _NET_WM_WINDOW_OPACITY, for an alpha Qt itself would not write (fully opaque).
void SetOpacityProperty(uintptr_t window, uint32_t value);

} // namespace toolkit::qt
