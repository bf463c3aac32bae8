#include "program.h"

#include "errors.h"
#include "realisation.h"
#include "window.h"

#include <cstdio>
#include <new>

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

// As an untrapped run-time error does: say what went wrong, then end.
void endWithError(const std::string& description) {
    if (g_unattended) {
        std::fprintf(stderr, "%s: %s\n", g_title.c_str(), description.c_str());
        g_status = 1;
    } else {
        try {
            MsgBox(description, 16);
        } catch (const EndProgram&) {
        } catch (...) {
            g_status = 1; // not even the message could be shown
        }
    }
    endNow();
}
} // namespace

void Dispatch(const std::function<void()>& handler) {
    if (g_ending)
        return;
    ++g_depth;
    // Nothing may unwind through the toolkit's event loop: it would leave this depth raised and
    // the windows unloaded meanwhile would never be freed.
    try {
        handler();
    } catch (const EndProgram&) {
        endNow();
    } catch (const RuntimeError& e) {
        endWithError(e.Description());
    } catch (const std::bad_alloc&) {
        endWithError(kOutOfMemory);
    } catch (const std::exception& e) {
        endWithError(std::string(kInternalError) + ": " + e.what());
    } catch (...) {
        endWithError(kInternalError);
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
