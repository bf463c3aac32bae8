#pragma once
#include "toolkit/peers.h"

#include <windows.h>

#include <optional>

namespace toolkit::win32 {

class Win32WindowPeer : public WindowPeer {
  public:
    // owner: a hidden window that keeps an owned window off the taskbar, or null.
    Win32WindowPeer(const WindowDesign& design, WindowSink& sink, double twipsPerPixel, HWND owner);
    ~Win32WindowPeer() override;

    void setGeometry(float left, float top, float width, float height) override;
    void setBackColor(int32_t color) override;
    void setMousePointer(int16_t shape) override;
    void show() override;
    void showInactive() override;
    void hide() override;
    void setPassThrough(bool on) override;
    uintptr_t nativeHandle() const override { return reinterpret_cast<uintptr_t>(m_hwnd); }
    bool hasFocus() const override;
    void takeFocus() override;
    int popupMenu(const std::vector<std::string>& captions,
                  const std::optional<Point>& at) override;
    std::unique_ptr<ControlPeer> createControl(const ControlDesign& design, ControlSink& sink,
                                               ControlPeer* container) override;

    static Win32WindowPeer* find(uintptr_t handle);
    static void registerClass();
    HWND hwnd() const { return m_hwnd; }
    double tpp() const { return m_tpp; }
    HBRUSH backBrush() const { return m_backBrush; }
    COLORREF backColor() const { return m_back; }
    // Control IDs count from 100 in creation order, clear of IDOK and IDCANCEL; a WM_COMMAND
    // carries only 16 bits of them.
    UINT_PTR nextControlId() { return m_nextControlId++; }
    // Whether Tab and Shift+Tab move between the window's controls.
    bool tabs() const { return m_tabs; }
    // Tab, Shift+Tab and Escape in a window that has them, as the dialog manager handles them;
    // whether the message was one of them.
    static bool dialogKey(MSG& msg);
    // The control that gets the keyboard focus whenever the window gets it.
    void focusOnActivation(HWND control);

    // A press anywhere in the window forgets a drag that was armed and never started.
    void pointerPressed() { m_anchored = false; }
    // A caption-style drag: armed by the press, started by the first motion so that a
    // double-click still reaches the control.
    void requestMove();
    unsigned moves() const { return m_moves; }
    void setTopmost();
    void setAlpha(uint8_t alpha);

  private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void mouse(MouseKind kind, int16_t button, WPARAM wp, LPARAM lp);
    void geometryChanged();
    void follow(POINT cursor);
    bool restoreFocus();

    HWND m_hwnd = nullptr;
    WindowSink* m_sink;
    double m_tpp;
    DWORD m_style = 0, m_exStyle = 0;
    bool m_tabs;
    bool m_styled; // whether its controls have the common controls' visual styles
    bool m_escapeCloses;
    long m_role = 0;
    bool m_annotated = false;
    HWND m_focus = nullptr; // the control that had the focus when the window last lost it
    bool m_applying = true; // until the native window exists
    HBRUSH m_backBrush = nullptr;
    COLORREF m_back = 0;
    HCURSOR m_cursor = nullptr;
    bool m_anchored = false, m_moving = false;
    bool m_layeredToPassThrough = false; // made layered only so that the pointer passes through
    unsigned m_moves = 0;
    UINT_PTR m_nextControlId = 100;
    POINT m_anchorCursor{}, m_anchorWindow{};
};

} // namespace toolkit::win32
