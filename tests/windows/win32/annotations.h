#pragma once
// Wine's annotation service refuses every annotation: the window tests put one of their own in its
// place, which keeps what the program asks of it.
#include <windows.h>

#include <string>

namespace driver {

// Before the program first annotates a window: registers the stand-in for this process.
void RecordAnnotations();
void ForgetAnnotations();
// What the program annotated the window with: a name, and a role (0 for none).
std::wstring AnnotatedName(HWND hwnd);
long AnnotatedRole(HWND hwnd);

} // namespace driver
