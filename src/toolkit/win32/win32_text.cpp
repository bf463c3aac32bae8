#include "win32_text.h"

#include <windows.h>

namespace toolkit::win32 {

std::wstring W(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string U8(const wchar_t* utf16, int length) {
    if (length < 0)
        length = int(wcslen(utf16));
    if (length == 0)
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16, length, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16, length, out.data(), n, nullptr, nullptr);
    return out;
}

std::string U8(const std::wstring& utf16) {
    return U8(utf16.data(), int(utf16.size()));
}

} // namespace toolkit::win32
