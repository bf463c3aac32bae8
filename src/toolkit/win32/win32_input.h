#pragma once
// Mouse and keyboard state as the contract reports it, and the count of running modal loops.
#include <windows.h>

#include <cstdint>

namespace toolkit::win32 {

inline int16_t HeldButtons(WPARAM wp) {
    return int16_t(((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) |
                   ((wp & MK_MBUTTON) ? 4 : 0));
}

inline int16_t ShiftMask(WPARAM wp) {
    return int16_t(((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) |
                   ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

// Marks a running message loop, the program's own or a modal one, so that ending the program
// knows whether there is a loop to leave.
class ModalLoop {
  public:
    ModalLoop() { ++depth(); }
    ~ModalLoop() { --depth(); }
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;
    static int& depth() {
        static int d = 0;
        return d;
    }
};

} // namespace toolkit::win32
