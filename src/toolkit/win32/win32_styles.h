#pragma once
// The common controls' visual styles, where they are seen. Loading them costs the start a tenth
// of its time, and the prompt window, a text box in colours of its own, shows nothing of them:
// the process starts without them, and the settings and About windows' controls, the pickers,
// the message boxes and the tool tips are made while a VisualStyles lives. Window classes made in
// that time are version 6 of the common controls.
#include <windows.h>

namespace toolkit::win32 {

class VisualStyles {
  public:
    // Does nothing when `wanted` is false, so that a caller can decide at run time.
    explicit VisualStyles(bool wanted = true);
    ~VisualStyles();
    VisualStyles(const VisualStyles&) = delete;
    VisualStyles& operator=(const VisualStyles&) = delete;

  private:
    ULONG_PTR m_cookie = 0;
    bool m_active = false;
};

} // namespace toolkit::win32
