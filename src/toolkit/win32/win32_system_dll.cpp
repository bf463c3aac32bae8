#include "win32_system_dll.h"

#include <string>

namespace toolkit::win32 {

FARPROC SystemProc(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) {
        // By its full path: a DLL of the same name beside the exe or in the current folder is
        // never the one loaded.
        wchar_t folder[MAX_PATH];
        const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return nullptr;
        module = LoadLibraryW((std::wstring(folder, n) + L"\\" + dll).c_str());
    }
    return module ? GetProcAddress(module, name) : nullptr;
}

} // namespace toolkit::win32
