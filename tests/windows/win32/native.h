#pragma once
// What the Win32-only window tests read of the native windows.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace native {

// The windows under PARENT, at any depth, whose class is CLS.
inline std::vector<HWND> Children(uintptr_t parent, const wchar_t* cls) {
    struct Search {
        const wchar_t* cls;
        std::vector<HWND> found;
    } search{cls, {}};
    EnumChildWindows(
        reinterpret_cast<HWND>(parent),
        [](HWND h, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(h, name, 64);
            if (lstrcmpiW(name, s->cls) == 0)
                s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The thread's top-level windows of class CLS ("#32770": dialogs and message boxes).
inline std::vector<HWND> ThreadWindows(const wchar_t* cls) {
    struct Search {
        const wchar_t* cls;
        std::vector<HWND> found;
    } search{cls, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(h, name, 64);
            if (lstrcmpiW(name, s->cls) == 0)
                s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace native
