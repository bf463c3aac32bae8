#pragma once
// Functions of system DLLs that only some actions need (a picker, a link), loaded on their first
// call instead of at start-up, when loading them would only delay the first window.
#include <windows.h>

namespace toolkit::win32 {

// The function NAME of DLL in the system folder, loading the DLL if need be (it stays loaded);
// null if either cannot be found.
FARPROC SystemProc(const wchar_t* dll, const char* name);

template <class Function> Function* SystemFunction(const wchar_t* dll, const char* name) {
    // Through the one function type every function pointer converts to without a warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SystemProc(dll, name)));
}

} // namespace toolkit::win32
