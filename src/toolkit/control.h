#pragma once
// The controls a window owns: a text box, label, editable drop-down list, button, frame, picture
// box and line. Each holds its state itself and mirrors it to its native peer.
#include "peers.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace toolkit {

class Window;
class Label;

class Control : public ControlSink {
  public:
    Control(Window& window, const ControlDesign& design, Control* container = nullptr);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    float Left() const { return m_design.left; }
    float Top() const { return m_design.top; }
    float Width() const { return m_design.width; }
    float Height() const { return m_design.height; }
    void setTop(float top);
    void setWidth(float width);
    bool Enabled() const { return m_enabled; }
    // A control that had the keyboard focus when it was disabled has it again when enabled.
    void setEnabled(bool enabled);

    const toolkit::Font& Font() const { return m_font; }
    void setFont(const toolkit::Font& font);
    void setFontSize(double points);
    void setFontName(const std::string& name);
    int32_t ForeColor() const { return m_foreColor; }
    void setForeColor(int32_t color);
    int32_t BackColor() const { return m_backColor; }
    void setBackColor(int32_t color);

    // The label that names this control to assistive tools.
    void setLabel(Label& label);

    const ControlDesign& design() const { return m_design; }
    Window& window() { return m_window; }
    // Where the control lies in its window's client area, whatever holds it (twips).
    float WindowLeft() const;
    float WindowTop() const;
    void detachPeer() { m_peer.reset(); }

    // Event handlers the window binds.
    std::function<void(const MouseArgs&)> onMouseDown, onMouseMove, onMouseUp;
    std::function<void()> onClick, onDblClick, onChange;
    std::function<void()> onContextMenu; // asked for by the keyboard

    // ControlSink
    void nativeMouse(MouseKind kind, const MouseArgs& args) override;
    void nativeClick() override;
    void nativeDblClick() override;
    void nativeTextEdited(const std::string& text) override;
    void nativeContextMenuKey() override;

  protected:
    void applyText(const std::string& text); // sets the text and raises Change
    void applyGeometry();
    Window& m_window;
    Control* m_container;
    ControlDesign m_design;
    toolkit::Font m_font;
    int32_t m_foreColor = 0;
    int32_t m_backColor = 0xFFFFFF;
    bool m_enabled = true;
    bool m_focusWhenEnabled = false;
    std::string m_text;
    std::unique_ptr<ControlPeer> m_peer;
    friend class Window;
};

class TextBox : public Control {
  public:
    TextBox(Window& window, const ControlDesign& design) : Control(window, withKind(design)) {}
    const std::string& Text() const { return m_text; }
    void setText(const std::string& text) { applyText(text); }
    // As a paste over the whole text would leave it: line breaks are the box's own business.
    void setPastedText(const std::string& text) { applyText(m_peer ? m_peer->pasted(text) : text); }
    std::string Tag;

  private:
    static ControlDesign withKind(ControlDesign d) {
        d.kind = ControlKind::TextBox;
        return d;
    }
};

class Label : public Control {
  public:
    Label(Window& window, const ControlDesign& design, Control* frame = nullptr);
    const std::string& Caption() const { return m_text; }
};

class ComboBox : public Control {
  public:
    ComboBox(Window& window, const ControlDesign& design);
    const std::string& Text() const { return m_text; }
    void setText(const std::string& text) { applyText(text); }
    void AddItem(const std::string& item);
    int ListCount() const { return static_cast<int>(m_items.size()); }
    const std::string& List(int index) const { return m_items.at(static_cast<size_t>(index)); }

  private:
    std::vector<std::string> m_items;
};

class CommandButton : public Control {
  public:
    CommandButton(Window& window, const ControlDesign& design);
    const std::string& Caption() const { return m_text; }
};

class Frame : public Control {
  public:
    Frame(Window& window, const ControlDesign& design);
};

class PictureBox : public Control {
  public:
    PictureBox(Window& window, const ControlDesign& design);
};

class Line : public Control {
  public:
    Line(Window& window, const ControlDesign& design);
};

} // namespace toolkit
