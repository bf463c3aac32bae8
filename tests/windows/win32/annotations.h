#pragma once
// A stand-in for Wine's annotation service, which refuses every annotation, keeping what is asked.
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
