#pragma once
// What the window tests do to a realisation's native side, as a person or the window system
// would; each realisation implements it once.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace toolkit {
class Window;
class Control;
} // namespace toolkit

namespace driver {

// Once per process: before the toolkit starts, and before it stops.
void Prepare();
void Finish();
// Before each test: forgets a program end that unwound through a dialog, and frees what the
// test before destroyed.
void Reset();
// Handles what is waiting.
void Pump();

// The settings store: Clear gives an empty one that works; Break makes every later write fail;
// Repair makes the broken one writable again with what it held before.
void ClearStore();
void BreakStore();
void RepairStore();

enum class Modal { None, Message, Menu, Colour, Font };

// What an answered dialog or menu showed.
struct Shown {
    Modal kind = Modal::None;
    std::string title, text; // message box
    int32_t colour = -1;     // colour dialog: the colour it opened on
    double points = 0;       // font dialog: the size it opened on
};

struct Reply {
    bool accept = true;
    int item = -1;                 // menu: the item to click; -1 closes it
    std::optional<int32_t> colour; // colour dialog: the colour to pick
    std::string face;              // font dialog: the face and point size to pick
    double points = 0;
    std::function<void()> whileOpen; // runs while it is open, before it is answered
};
inline Reply Accept() {
    return {};
}
inline Reply Cancel() {
    Reply r;
    r.accept = false;
    return r;
}

// Answer, given before the action that opens it, answers the next dialog or menu open once the
// earlier answers are given (what that opens, the next one), and records what it showed.
struct Pending {
    Reply reply;
    Shown* shown;
};
inline std::deque<Pending> g_pending;
// Arms the realisation's one timer for the first answer waiting, or disarms it.
void Schedule();
inline void Answer(Reply reply, Shown* shown = nullptr) {
    g_pending.push_back({std::move(reply), shown});
    if (g_pending.size() == 1)
        Schedule();
}
// From the timer: the answer for the dialog or menu open; none yet, the next loop to run is its.
inline std::optional<Pending> Next(bool open) {
    if (g_pending.empty() || !open)
        return Schedule(), std::nullopt;
    Pending p = std::move(g_pending.front());
    g_pending.pop_front();
    return p;
}
// Forgets the answers whose dialog never opened; returns how many there were.
inline int Unanswered() {
    const int n = static_cast<int>(g_pending.size());
    g_pending.clear();
    Schedule();
    return n;
}

// What assistive tools are told of a window or control: its name, its kind, and the text of the
// label that names it.
enum class Role { Other, Window, Dialog, Text, Label, Link, List, Button };
struct Accessible {
    std::string name;
    Role role = Role::Other;
    std::string label;
};
Accessible Describe(toolkit::Window& window);
Accessible Describe(toolkit::Control& control);

// Keys pressed where the keyboard focus is, as the window system delivers them.
enum class Key { Escape, Menu, ShiftF10, Tab };
void Press(Key key);
// Whether the control has the keyboard focus: what is typed goes into it.
bool Focused(toolkit::Control& control);
// A window of another program takes the keyboard focus.
void FocusElsewhere();

enum class Button { Left, Right };
// Positions are pixels inside the control or the window's client area.
void Click(toolkit::Control& control, Button button = Button::Left, int x = 5, int y = 5);
// The close box.
void Close(toolkit::Window& window);
// Moves and sizes the window as the window manager would (pixels).
void Place(toolkit::Window& window, int x, int y, int width, int height);

struct WindowState {
    int clientWidth = 0, clientHeight = 0;
    bool visible = false;
    int alpha = 255;
    bool passThrough = false; // pointer events go to the window beneath
    bool active = false;      // it has the keyboard focus
};
WindowState Native(toolkit::Window& window);
// Whether the platform gives the focus to every window it shows (Qt's offscreen one does).
bool ShowingActivates();

bool Enabled(toolkit::Control& control);
// Whether any window of the process is on the screen: its own, a menu, a dialog, a box, a tip.
bool AnythingShown();

} // namespace driver
