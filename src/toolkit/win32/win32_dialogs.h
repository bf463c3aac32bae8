#pragma once
#include "toolkit/realisation.h"

#include <windows.h>

namespace toolkit::win32 {

// The system's colour dialog with no colour preselected and 16 black custom colours.
std::optional<int32_t> ChooseColour(HWND owner);
// The system's font dialog without an owner, limited to the seed's sizes and existing faces.
std::optional<FontChoice> ChooseFontFrom(const FontSeed& seed);
int MessageBoxFor(const std::string& text, int style, const std::string& title);

} // namespace toolkit::win32
