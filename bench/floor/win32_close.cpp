// win32_close.exe TITLE: posts WM_CLOSE to the top-level window of that title and prints when it
// did, in microseconds since 1970 (the clock the benches read), or exits 1 if there is none.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    HWND window = argc == 2 ? FindWindowW(nullptr, argv[1]) : nullptr;
    if (!window)
        return 1;
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const ULONGLONG ticks = (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    std::printf("%llu\n", (ticks - 116444736000000000ULL) / 10);
    return 0;
}
