#include "control.h"

#include "program.h"
#include "validate.h"
#include "window.h"

namespace toolkit {

Control::Control(Window& window, const ControlDesign& design, Control* container)
    : m_window(window), m_container(container), m_design(design), m_text(design.text) {
    if (design.font)
        m_font = *design.font;
    if (design.foreColor)
        m_foreColor = *design.foreColor;
    if (design.backColor)
        m_backColor = *design.backColor;
    m_peer =
        window.peer().createControl(design, *this, container ? container->m_peer.get() : nullptr);
    window.addControl(this);
}

Control::~Control() {
    m_window.removeControl(this);
}

void Control::setTop(float top) {
    m_design.top = top;
    applyGeometry();
}

void Control::setWidth(float width) {
    if (!std::isfinite(width) || width < 0)
        throw RuntimeError(kInvalidPropertyValue);
    m_design.width = width;
    applyGeometry();
}

void Control::applyGeometry() {
    if (m_peer)
        m_peer->setGeometry(m_design.left, m_design.top, m_design.width, m_design.height);
}

float Control::WindowLeft() const {
    return m_container ? m_container->WindowLeft() + Left() : Left();
}

float Control::WindowTop() const {
    return m_container ? m_container->WindowTop() + Top() : Top();
}

// Both toolkits move the keyboard focus away from a control they disable, and give it back to
// nobody.
void Control::setEnabled(bool enabled) {
    if (!enabled && m_enabled && m_peer)
        m_focusWhenEnabled = m_peer->hasFocus();
    m_enabled = enabled;
    if (m_peer)
        m_peer->setEnabled(enabled);
    if (enabled && m_focusWhenEnabled) {
        m_focusWhenEnabled = false;
        if (m_peer)
            m_peer->setFocus();
    }
}

void Control::setLabel(Label& label) {
    if (m_peer && label.m_peer)
        m_peer->setLabel(*label.m_peer);
}

void Control::setFont(const toolkit::Font& font) {
    toolkit::Font checked = font;
    checked.Size = CheckedFontSize(font.Size);
    if (checked.Name.empty())
        throw RuntimeError(kInvalidPropertyValue);
    m_font = checked;
    if (m_peer)
        m_peer->setFont(m_font);
}

void Control::setFontSize(double points) {
    toolkit::Font f = m_font;
    f.Size = points;
    setFont(f);
}

void Control::setFontName(const std::string& name) {
    toolkit::Font f = m_font;
    f.Name = name;
    setFont(f);
}

void Control::setForeColor(int32_t color) {
    m_foreColor = CheckedColor(color);
    if (m_peer)
        m_peer->setForeColor(m_foreColor);
}

void Control::setBackColor(int32_t color) {
    m_backColor = CheckedColor(color);
    if (m_peer)
        m_peer->setBackColor(m_backColor);
}

void Control::applyText(const std::string& text) {
    m_text = text;
    if (m_peer)
        m_peer->setText(text);
    if (onChange)
        onChange();
}

void Control::nativeMouse(MouseKind kind, const MouseArgs& args) {
    const auto& handler = kind == MouseKind::Down   ? onMouseDown
                          : kind == MouseKind::Move ? onMouseMove
                                                    : onMouseUp;
    if (handler)
        Dispatch([&] { handler(args); });
}

void Control::nativeClick() {
    if (onClick)
        Dispatch(onClick);
}

void Control::nativeDblClick() {
    if (onDblClick)
        Dispatch(onDblClick);
}

void Control::nativeContextMenuKey() {
    if (onContextMenu)
        Dispatch(onContextMenu);
}

void Control::nativeTextEdited(const std::string& text) {
    m_text = text;
    if (onChange)
        Dispatch(onChange);
}

static ControlDesign kind(ControlDesign d, ControlKind k) {
    d.kind = k;
    return d;
}

Label::Label(Window& window, const ControlDesign& design, Control* frame)
    : Control(window, kind(design, ControlKind::Label), frame) {}

ComboBox::ComboBox(Window& window, const ControlDesign& design)
    : Control(window, kind(design, ControlKind::ComboBox)) {}

void ComboBox::AddItem(const std::string& item) {
    m_items.push_back(item);
    if (m_peer)
        m_peer->addItem(item);
}

CommandButton::CommandButton(Window& window, const ControlDesign& design)
    : Control(window, kind(design, ControlKind::Button)) {}

Frame::Frame(Window& window, const ControlDesign& design)
    : Control(window, kind(design, ControlKind::Frame)) {}

PictureBox::PictureBox(Window& window, const ControlDesign& design)
    : Control(window, kind(design, ControlKind::PictureBox)) {}

Line::Line(Window& window, const ControlDesign& design)
    : Control(window, kind(design, ControlKind::Line)) {}

} // namespace toolkit
