#include "program.h"

#include "errors.h"
#include "realisation.h"
#include "window.h"

namespace toolkit {

namespace {
int g_depth = 0;
bool g_ending = false;
std::string g_title;

void endNow() {
    g_ending = true;
    DestroyAllForms();
    CurrentRealisation().quit();
}
} // namespace

void Dispatch(const std::function<void()>& handler) {
    if (g_ending)
        return;
    ++g_depth;
    try {
        handler();
    } catch (const EndProgram&) {
        endNow();
    } catch (const RuntimeError& e) {
        // As an untrapped run-time error does: say what went wrong, then end.
        try {
            MsgBox(e.Description(), 16);
        } catch (const EndProgram&) {
        }
        endNow();
    }
    if (--g_depth == 0)
        FreeUnloadedForms();
}

void End() {
    throw EndProgram{};
}

bool Ending() {
    return g_ending;
}

void ContinueEndingIfNeeded() {
    if (g_ending)
        throw EndProgram{};
}

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    const int answer =
        CurrentRealisation().messageBox(prompt, style, title.empty() ? g_title : title);
    ContinueEndingIfNeeded();
    return answer;
}

const std::string& AppTitle() {
    return g_title;
}
void SetAppTitle(const std::string& title) {
    g_title = title;
}

void ResetEnding() {
    g_ending = false;
}

} // namespace toolkit
