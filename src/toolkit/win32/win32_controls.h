#pragma once
#include "toolkit/peers.h"

#include <windows.h>

#include <string>

namespace toolkit::win32 {

class Win32WindowPeer;

// One peer class for every control kind: the window class differs, the mirroring of state does
// not. Controls inside a frame are the window's children too, placed relative to the frame.
class Win32ControlPeer : public ControlPeer {
  public:
    Win32ControlPeer(const ControlDesign& design, ControlSink& sink, Win32WindowPeer& window,
                     Win32ControlPeer* container);
    ~Win32ControlPeer() override;

    void setGeometry(float left, float top, float width, float height) override;
    void setText(const std::string& text) override;
    void setFont(const Font& font) override;
    void setForeColor(int32_t color) override;
    void setBackColor(int32_t color) override;
    void setEnabled(bool enabled) override;
    void addItem(const std::string& item) override;
    void setLabel(ControlPeer& label) override;
    bool hasFocus() const override;
    void setFocus() override;
    std::string pasted(const std::string& text) const override;

    // The live peer of a control, or of the drop-down list whose edit field it is; null for any
    // other window (a control whose peer is gone, a window's own).
    static Win32ControlPeer* fromHandle(HWND hwnd);
    // WM_CTLCOLOR*: sets the colours on the device context; the brush, or null for the system's.
    HBRUSH colour(HDC dc);
    // WM_COMMAND notifications.
    void command(WORD code);

  private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void report(MouseKind kind, int16_t button, WPARAM wp, LPARAM lp);
    void fitToText();
    void makeToolTip(WPARAM wp, LPARAM lp);

    ControlKind m_kind;
    ControlSink* m_sink;
    Win32WindowPeer& m_window;
    HWND m_hwnd = nullptr;
    WNDPROC m_base = nullptr; // the control's own procedure, under ours
    POINT m_origin{};         // the container's client origin in the window, pixels
    POINT m_place{};          // this control's place in the window, pixels
    HFONT m_font = nullptr;
    HBITMAP m_picture = nullptr;
    HBRUSH m_backBrush = nullptr;
    std::string m_tipText;
    HWND m_tip = nullptr; // made when the pointer first comes
    bool m_hasFore = false, m_hasBack = false;
    COLORREF m_fore = 0, m_back = 0;
    bool m_autoSize;
    bool m_applying = false;
    std::wstring m_accessibleName;
    long m_role = 0;
    bool m_annotated = false;
};

// The font controls get when their design names none.
HFONT DefaultFont();

} // namespace toolkit::win32
