#pragma once
// The interfaces between the contract objects (Window, controls) and the native peers that a
// realisation makes. Everything crossing here is in twips and 0x00BBGGRR colours.
#include "font.h"
#include "mouse.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {

// Tells code that runs after a nested loop, or after a call into the program, whether the peer
// that started it is still there: the program may have unloaded its window meanwhile.
class Liveness {
  public:
    Liveness() = default;
    Liveness(const Liveness&) = delete;
    Liveness& operator=(const Liveness&) = delete;
    ~Liveness() { *m_alive = false; }
    // True while the owner exists; outlives it.
    std::shared_ptr<const bool> token() const { return m_alive; }

  private:
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

struct Point {
    float x = 0, y = 0; // twips
};

enum class ControlKind { TextBox, Label, ComboBox, Button, Frame, PictureBox, Line };

struct ControlDesign {
    ControlKind kind = ControlKind::Label;
    float left = 0, top = 0, width = 0, height = 0; // for a line: x1, y1, x2, y2
    std::string text;                               // text or caption
    std::optional<Font> font;                       // absent: the window's default font
    std::optional<int32_t> foreColor, backColor;    // absent: the system's colours
    std::string toolTip;
    bool multiLine = false;
    bool verticalScrollBar = false;
    bool centred = false;  // text alignment
    bool border = true;    // text box and picture box
    bool autoSize = false; // label sized to its caption
    std::string picture;   // picture box: an image file
    // What a screen reader calls the control where neither its caption nor its label says it.
    std::string accessibleName;
    bool link = false; // a label that opens something when clicked
};

// What a control peer reports back; implemented by the contract's controls.
class ControlSink {
  public:
    virtual ~ControlSink() = default;
    virtual void nativeMouse(MouseKind kind, const MouseArgs& args) = 0;
    virtual void nativeClick() = 0;
    virtual void nativeDblClick() = 0;
    virtual void nativeTextEdited(const std::string& text) = 0;
    // The keyboard asks for the context menu: the Menu key, or Shift+F10.
    virtual void nativeContextMenuKey() = 0;
};

class ControlPeer {
  public:
    virtual ~ControlPeer() = default;
    virtual void setGeometry(float left, float top, float width, float height) = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setForeColor(int32_t color) = 0;
    virtual void setBackColor(int32_t color) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void addItem(const std::string& item) = 0;
    // The label that names this control to assistive tools.
    virtual void setLabel(ControlPeer& label) = 0;
    virtual bool hasFocus() const = 0;
    // The control gets the keyboard focus now if its window has it, else when the window next
    // gets it; the focus is never taken from another window.
    virtual void setFocus() = 0;
    // A text box: what it holds when this text is pasted over all it had. Qt keeps line breaks
    // (and shows them as spaces).
    virtual std::string pasted(const std::string& text) const { return text; }

  protected:
    Liveness m_alive;
};

enum class BorderStyle { None, FixedSingle, FixedDialog };

struct WindowDesign {
    std::string caption;
    BorderStyle border = BorderStyle::FixedSingle;
    bool showInTaskbar = true;
    float clientWidth = 0, clientHeight = 0;
    std::optional<int32_t> backColor; // absent: the system's dialog colour
    bool centreOnShow = false;
    int minimumPixels = 0;     // a smaller width or height is refused
    bool escapeCloses = false; // Escape asks the window to close, as its close box does
};

class WindowSink {
  public:
    virtual ~WindowSink() = default;
    virtual void nativeGeometry(float left, float top, float width, float height) = 0;
    virtual void nativeMouse(MouseKind kind, const MouseArgs& args) = 0;
    virtual void nativeCloseRequested() = 0;
};

class WindowPeer {
  public:
    virtual ~WindowPeer() = default;
    virtual void setGeometry(float left, float top, float width, float height) = 0;
    virtual void setBackColor(int32_t color) = 0;
    virtual void setMousePointer(int16_t shape) = 0;
    virtual void show() = 0; // also brings a visible window forward
    // The same without taking the keyboard focus; hide keeps the native window.
    virtual void showInactive() = 0;
    virtual void hide() = 0;
    virtual void setPassThrough(bool on) = 0; // pointer events go to the window beneath
    virtual uintptr_t nativeHandle() const = 0;
    // Whether the window has the keyboard focus.
    virtual bool hasFocus() const = 0;
    // A shown window becomes the one with the keyboard focus; a hidden one stays as it is.
    virtual void takeFocus() = 0;
    // Opens a pop-up menu at the pointer, or at a point of the client area (twips); returns the
    // chosen item's index, or -1.
    virtual int popupMenu(const std::vector<std::string>& captions,
                          const std::optional<Point>& at) = 0;
    // container: the peer of a frame that holds the control, or null for the window itself.
    virtual std::unique_ptr<ControlPeer>
    createControl(const ControlDesign& design, ControlSink& sink, ControlPeer* container) = 0;

  protected:
    Liveness m_alive;
};

} // namespace toolkit
