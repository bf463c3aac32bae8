// The least a Win32 program must do to show a window like the prompt: one registry value read, a
// topmost layered popup of the prompt's default size holding one edit box in a Chinese face. It
// imports only what that needs; WM_CLOSE ends it (the default window procedure destroys it).
#include <windows.h>

namespace {
LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    wchar_t text[256] = L"[文本内容]";
    DWORD bytes = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\PUPNAME\\APPNAME",
                 L"Kelm-文本提示框_文本内容", RRF_RT_REG_SZ, nullptr, text, &bytes);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(0x404040);
    wc.lpszClassName = L"KelmFloor";
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TOOLWINDOW,
                                  wc.lpszClassName, L"kelm-floor", WS_POPUP, 0, 0, 301, 47, nullptr,
                                  nullptr, instance, nullptr);
    SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    HWND edit =
        CreateWindowExW(0, L"EDIT", text, WS_CHILD | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL, 0, 7,
                        300, 33, window, nullptr, instance, nullptr);
    HFONT font =
        CreateFontW(-19, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"微软雅黑");
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
