#include "qt_remote.h"

#include <QString>

#include <array>
#include <cstdio>
#include <cstring>

namespace toolkit::qt {

namespace {

struct Method {
    const char* name;
    RemoteAction action;
};
// Lock and Unlock travel as SetLocked(true) and SetLocked(false).
constexpr std::array<Method, 8> kMethods = {{
    {"Present", RemoteAction::Present},
    {"SetText", RemoteAction::SetText},
    {"GetText", RemoteAction::GetText},
    {"Show", RemoteAction::Show},
    {"Hide", RemoteAction::Hide},
    {"Toggle", RemoteAction::Toggle},
    {"SetLocked", RemoteAction::Lock},
    {"Quit", RemoteAction::Quit},
}};

} // namespace

const char* MethodOf(RemoteAction action) {
    if (action == RemoteAction::Unlock)
        action = RemoteAction::Lock;
    for (const Method& m : kMethods)
        if (m.action == action)
            return m.name;
    return "";
}

std::optional<RemoteAction> ActionOf(const QString& method) {
    for (const Method& m : kMethods)
        if (method == QLatin1String(m.name))
            return m.action;
    return std::nullopt;
}

} // namespace toolkit::qt

namespace toolkit {

std::vector<std::string> CommandLine(int argc, char** argv) {
    // Linux passes bytes: a text in another encoding than UTF-8 is refused by the parser.
    return std::vector<std::string>(argv, argv + argc);
}

bool Print(Stream stream, std::string_view text) {
    FILE* file = stream == Stream::Output ? stdout : stderr;
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

std::optional<bool> ToolkitOption(std::string_view name) {
    // Qt's own options, which QApplication reads and removes; a session manager restarts the
    // program with -session.
    static constexpr const char* kWithValue[] = {
        "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
        "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
        "style",       "stylesheet",         "name",          "title",   "qmljsdebugger"};
    static constexpr const char* kFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* option : kWithValue)
        if (name == option)
            return true;
    for (const char* option : kFlags)
        if (name == option)
            return false;
    return std::nullopt;
}

} // namespace toolkit
