#pragma once
// A top-level window of the program: its geometry in twips, its events, and its single instance,
// created and loaded on first reference and destroyed by Unload.
#include "control.h"
#include "menu.h"
#include "peers.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace toolkit {

class Window : public WindowSink {
  public:
    explicit Window(const WindowDesign& design);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    // Setting Width or Height runs Form_Resize before returning; a refused value raises
    // "无效的属性值" and leaves the window as it was.
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    int32_t BackColor() const { return m_backColor; }
    void setBackColor(int32_t color);
    int16_t MousePointer() const { return m_mousePointer; }
    void setMousePointer(int16_t shape);
    const std::string& Caption() const { return m_caption; }
    uintptr_t hWnd() const;
    // Whether the window has the keyboard focus; a shown window takes it.
    bool hasFocus() const;
    void takeFocus();
    bool Visible() const { return m_shown && !m_hidden && m_peer; }

    void Show();
    // For commands from outside: the window leaves the screen or comes back, keeping its place,
    // size and everything else, and neither takes the keyboard focus from whoever has it.
    void Hide();
    void ShowInactive();
    // While on, every pointer event goes to whatever lies beneath the window.
    void setPassThrough(bool on);
    bool PassThrough() const { return m_passThrough; }
    // Opens the menu at the pointer, or in the middle of a control of this window; returns after
    // the chosen item's Click has run.
    void PopupMenu(const Menu& menu);
    void PopupMenu(const Menu& menu, const Control& at);

    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload(int16_t& Cancel) { (void)Cancel; }
    virtual void Form_MouseDown(int16_t, int16_t, float, float) {}
    virtual void Form_MouseMove(int16_t, int16_t, float, float) {}
    virtual void Form_MouseUp(int16_t, int16_t, float, float) {}

    // WindowSink
    void nativeGeometry(float left, float top, float width, float height) override;
    void nativeMouse(MouseKind kind, const MouseArgs& args) override;
    void nativeCloseRequested() override;

    WindowPeer& peer() { return *m_peer; }
    void addControl(Control* c) { m_controls.push_back(c); }
    void removeControl(Control* c);
    // Destroys the native window; the object stays readable until the event is over.
    void destroyPeers();
    // Back on the screen after the program's end was cancelled.
    void restorePeer();
    std::function<void()> m_forgetInstance;

  private:
    void applyGeometry();
    void popup(const Menu& menu, const std::optional<Point>& at);
    WindowDesign m_design;
    std::unique_ptr<WindowPeer> m_peer;
    std::vector<Control*> m_controls;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    int32_t m_backColor = 0;
    int16_t m_mousePointer = 0;
    std::string m_caption;
    bool m_shown = false; // shown at least once
    bool m_hidden = false;
    bool m_passThrough = false;
};

// The loaded windows, in load order.
std::vector<Window*> Forms();
// Runs the window's Form_Unload; unless it cancels, destroys the window. Unloading the start-up
// window ends the program: every window leaves the screen first, before any handler saves.
// Another window that had the keyboard focus gives it to the start-up window.
void Unload(Window& window);
// Destroys every window without running a handler.
void DestroyAllForms();
// Frees destroyed windows once no handler of theirs can still be running.
void FreeUnloadedForms();
void AdoptForm(std::unique_ptr<Window> window);
// The window system or the session asks the program to go: handled as the start-up window
// being closed.
void SystemQuitRequested();

namespace detail {
template <class W> inline W* g_instance = nullptr;
}

// The single instance of a window kind: a reference to one that is not loaded creates it and
// runs its Form_Load, without showing it.
template <class W> W& Instance() {
    if (!detail::g_instance<W>) {
        auto window = std::make_unique<W>();
        W* raw = window.get();
        raw->m_forgetInstance = [raw] {
            if (detail::g_instance<W> == raw)
                detail::g_instance<W> = nullptr;
        };
        detail::g_instance<W> = raw;
        AdoptForm(std::move(window));
        raw->Form_Load();
    }
    return *detail::g_instance<W>;
}

template <class W> W* LoadedInstance() {
    return detail::g_instance<W>;
}

} // namespace toolkit
