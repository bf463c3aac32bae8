#include "window_services.h"

#include "prompt/form1.h"
#include "toolkit/mouse.h"
#include "toolkit/realisation.h"

namespace FMain {

void DragWindow(uintptr_t hWnd, int16_t /*Button*/) {
    toolkit::CurrentRealisation().systemMove(hWnd);
}

void DragWindowOnLeft(uintptr_t hWnd, int16_t Button) {
    if (Button == toolkit::vbLeftButton)
        DragWindow(hWnd, Button);
}

void SetTopmost(uintptr_t hWnd) {
    toolkit::CurrentRealisation().setTopmost(hWnd);
}

void SetAlpha(uint8_t alpha) {
    toolkit::CurrentRealisation().setAlpha(toolkit::Instance<Form1>().hWnd(), alpha);
}

void ShellOpen(const std::string& target) {
    toolkit::CurrentRealisation().shellOpen(target);
}

} // namespace FMain
