#pragma once
// Names and roles for assistive tools where a window's class gives none that fits (a button
// captioned "…", a text box without a label, a label that is a link): set through the system's
// annotation service the first time an assistive tool asks for the window, so that nothing of it
// is loaded for a person who uses none.
#include <windows.h>

#include <string>

namespace toolkit::win32 {

// ROLE_SYSTEM_LINK and ROLE_SYSTEM_DIALOG of oleacc.h.
constexpr long kRoleLink = 0x1e, kRoleDialog = 0x12;

// role: 0 keeps the one of the window's class; an empty name keeps the class's own too.
void Annotate(HWND hwnd, const std::wstring& name, long role);

} // namespace toolkit::win32
