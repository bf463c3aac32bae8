#pragma once
// What the window tests do to a realisation's native side, as a person or the window system
// would: answer its dialogs and menus, press and type into its controls, read its windows, and
// swap its settings store. Each realisation implements this once.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {
class Window;
class Control;
} // namespace toolkit

namespace driver {

// Once per process: before the toolkit starts, and before it stops.
void Prepare();
void Finish();
// Between tests: forgets a program end that unwound through a dialog, and frees what the
// finished test destroyed.
void Reset();
void Settle();
// Lets the realisation handle what is waiting.
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
    std::string title, text;        // message box
    bool information = false;       // message box: with the information icon
    std::vector<std::string> items; // menu
    uintptr_t owner = 0;            // dialogs: the owning window's handle, 0 for none
    int32_t colour = -1;            // colour dialog: the colour it opened on
    bool customBlack = false;       // colour dialog: every custom colour is black
    std::string face;               // font dialog: what it opened on
    double points = 0;
};

struct Reply {
    bool accept = true;
    int item = -1;                 // menu: the item to click; -1 closes it
    std::optional<int32_t> colour; // colour dialog: the colour to pick
    std::optional<int32_t> custom; // colour dialog: a custom colour the user defines first
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
inline Reply Item(int index) {
    Reply r;
    r.item = index;
    return r;
}

// Given before the action that opens it: answers the next dialog or menu that is open once the
// earlier answers are given, and records what it showed. Whatever the answer opens in turn is
// answered by the next one.
void Answer(Reply reply, Shown* shown = nullptr);
// Forgets the answers whose dialog never opened; returns how many there were.
int Unanswered();

enum class Button { Left, Right };
// Positions are pixels inside the control or the window's client area.
void Click(toolkit::Control& control, Button button = Button::Left, int x = 5, int y = 5);
void Click(toolkit::Window& window, Button button, int x, int y);
void DoubleClick(toolkit::Control& control, int x, int y);
// Replaces the control's text by typing, key by key.
void Type(toolkit::Control& control, const std::string& text);
// The close box.
void Close(toolkit::Window& window);
// Moves and sizes the window as the window manager would (pixels).
void Place(toolkit::Window& window, int x, int y, int width, int height);

struct WindowState {
    int x = 0, y = 0, width = 0, height = 0; // the frame, in screen pixels
    int clientWidth = 0, clientHeight = 0;
    bool visible = false;
    std::string title;
    bool frameless = false, icon = false;
    int alpha = 255;
    std::optional<bool> inTaskbar; // where the realisation can tell
};
WindowState Native(toolkit::Window& window);

struct ControlState {
    std::string text; // lines end in "\r\n"
    std::string toolTip;
    bool enabled = false;
    std::string face; // the face it draws with
    std::vector<std::string> items;
    int32_t fore = -1, back = -1; // 0x00BBGGRR
};
ControlState Native(toolkit::Control& control);

// The pages the shell was asked to open since the test began; none is opened.
std::vector<std::string> Opened();

bool FaceInstalled(const std::string& face);
// An installed face with Simplified Chinese glyphs.
std::string ChineseFace();

} // namespace driver
