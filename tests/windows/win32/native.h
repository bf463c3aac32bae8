#pragma once
// What the Win32-only window tests read of the native windows.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace native {

// The windows of class CLS under PARENT, at any depth; with no parent, the thread's top-level
// ones ("#32770": its dialogs and message boxes).
inline std::vector<HWND> Windows(const wchar_t* cls, uintptr_t parent = 0) {
    struct Search {
        const wchar_t* cls;
        std::vector<HWND> found;
    } search{cls, {}};
    const WNDENUMPROC collect = [](HWND h, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(h, name, 64);
        if (lstrcmpiW(name, s->cls) == 0)
            s->found.push_back(h);
        return TRUE;
    };
    if (parent)
        EnumChildWindows(reinterpret_cast<HWND>(parent), collect, LPARAM(&search));
    else
        EnumThreadWindows(GetCurrentThreadId(), collect, LPARAM(&search));
    return search.found;
}

} // namespace native
