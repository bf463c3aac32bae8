#include "program.h"

#include "errors.h"
#include "realisation.h"
#include "window.h"

#include <cstdio>

namespace toolkit {

namespace {
int g_depth = 0;
bool g_ending = false;
bool g_unattended = false;
int g_status = 0;
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
        if (g_unattended) {
            std::fprintf(stderr, "%s: %s\n", g_title.c_str(), e.Description().c_str());
            g_status = 1;
        } else {
            try {
                MsgBox(e.Description(), 16);
            } catch (const EndProgram&) {
            }
        }
        endNow();
    }
    if (--g_depth == 0)
        FreeUnloadedForms();
}

void EndingFromOutside() {
    g_unattended = true;
}

int ExitStatus() {
    return g_status;
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
    g_unattended = false;
    g_status = 0;
}

} // namespace toolkit
