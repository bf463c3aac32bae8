// Visual styles on every control, dialog and box; not on the prompt, which starts faster without.
#include "../fixture.h"

#include "about/about_window.h"
#include "prompt/form1.h"
#include "settings/settings_window.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

namespace {

// The windows of class CLS under PARENT, at any depth; with no parent, the thread's top-level ones.
std::vector<HWND> Windows(const wchar_t* cls, uintptr_t parent = 0) {
    struct Search {
        const wchar_t* cls;
        std::vector<HWND> found;
    } search{cls, {}};
    const WNDENUMPROC collect = [](HWND h, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(h, name, 64);
        if (lstrcmpiW(name, s->cls) == 0)
            s->found.push_back(h);
        return TRUE;
    };
    if (parent)
        EnumChildWindows(reinterpret_cast<HWND>(parent), collect, LPARAM(&search));
    else
        EnumThreadWindows(GetCurrentThreadId(), collect, LPARAM(&search));
    return search.found;
}

// Made by version 6 of the common controls: its class's procedure is theirs, not user32's.
bool Styled(HWND control) {
    const auto proc = reinterpret_cast<LPCWSTR>(GetClassLongPtrW(control, GCLP_WNDPROC));
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            proc, &module))
        return false;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    const wchar_t* name = wcsrchr(path, L'\\');
    return lstrcmpiW(name ? name + 1 : path, L"comctl32.dll") == 0;
}

// Every control of that class under the window is styled, and there is one.
void ExpectStyled(uintptr_t window, const wchar_t* cls, const char* where) {
    const std::vector<HWND> found = Windows(cls, window);
    EXPECT_FALSE(found.empty()) << where;
    for (HWND h : found)
        EXPECT_TRUE(Styled(h)) << where;
}

// Checks the open dialog or box while the driver holds it open.
driver::Reply Inspecting(const wchar_t* cls, const char* where) {
    driver::Reply r = driver::Cancel();
    r.whileOpen = [cls, where] {
        int open = 0;
        for (HWND dialog : Windows(L"#32770"))
            if (IsWindowVisible(dialog) && IsWindowEnabled(dialog) && ++open)
                ExpectStyled(reinterpret_cast<uintptr_t>(dialog), cls, where);
        EXPECT_EQ(open, 1) << where;
    };
    return r;
}

HWND PromptTextBox() {
    const std::vector<HWND> edits = Windows(L"Edit", toolkit::Instance<Form1>().hWnd());
    return edits.empty() ? nullptr : edits.front();
}

using VisualStylesTest = WindowTest;

TEST_F(VisualStylesTest, OnTheSettingsAndAboutWindowsAndDialogsNotOnThePrompt) {
    toolkit::Instance<Form1>().Show();
    const HWND box = PromptTextBox();
    ASSERT_TRUE(box);
    EXPECT_FALSE(Styled(box));

    设置& s = toolkit::Instance<设置>();
    关于& a = toolkit::Instance<关于>();
    // Each window's controls are made in one activation context: one kind of control tells.
    ExpectStyled(s.hWnd(), L"ComboBox", "the settings window's lists");
    ExpectStyled(a.hWnd(), L"Edit", "the About window's change log");

    driver::Answer(Inspecting(L"Button", "the colour dialog's buttons"));
    s.Command3_Click();
    driver::Answer(Inspecting(L"ComboBox", "the font dialog's lists"));
    s.Command2_Click();
    driver::Answer(Inspecting(L"Button", "a message box's button"));
    a.Label7_Click();

    // The tip of the prompt's text box comes with the pointer.
    SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    int tools = 0;
    for (HWND tip : Windows(TOOLTIPS_CLASSW))
        tools += int(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(tools, 1);

    // Nothing of that stays active for a prompt window made afterwards.
    toolkit::DestroyAllForms();
    ASSERT_TRUE(PromptTextBox());
    EXPECT_FALSE(Styled(PromptTextBox()));
}

} // namespace
