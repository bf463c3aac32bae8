#pragma once
// The program keeps UTF-8; Windows takes UTF-16.
#include <string>

namespace toolkit::win32 {

std::wstring W(const std::string& utf8);
std::string U8(const std::wstring& utf16);
std::string U8(const wchar_t* utf16, int length = -1);

} // namespace toolkit::win32
