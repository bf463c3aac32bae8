#pragma once
// The program keeps UTF-8; Windows takes UTF-16.
#include <cstddef>
#include <string>

namespace toolkit::win32 {

std::wstring W(const std::string& utf8);
std::string U8(const std::wstring& utf16);
std::string U8(const wchar_t* utf16, int length = -1);
// Every unit kept: an unpaired surrogate becomes the three bytes of its value, which no UTF-8
// reader accepts, so that a check of the text refuses it rather than taking a replacement
// character for what was given.
std::string U8Verbatim(const wchar_t* utf16, size_t length);

} // namespace toolkit::win32
