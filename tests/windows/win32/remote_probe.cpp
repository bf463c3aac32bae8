// What another program can send the prompt beyond kelm-prompt: malformed requests (status 0 if all
// refused), --text with an unpaired surrogate no shell can pass, a command run from a console.
#include "toolkit/win32/win32_remote.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using namespace toolkit::win32;
using toolkit::RemoteAction;

constexpr WPARAM kOurs = 1;

struct Case {
    const char* name;
    ULONG_PTR code;
    std::wstring text;
    DWORD bytes; // of text; taken as is, even beyond it
    Result expected;
    WPARAM replyTo = kOurs; // or none (0), or a handle that is no window
};

int malformed() {
    const HWND prompt = FindWindowExW(HWND_MESSAGE, nullptr, kListenerClass, nullptr);
    if (!prompt)
        return std::puts("no prompt window"), 1;
    const HWND own =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Every one would hide the prompt or change its text if it were taken for a request.
    const ULONG_PTR hide = RequestCode(RemoteAction::Hide);
    const ULONG_PTR setText = RequestCode(RemoteAction::SetText);
    const std::wstring tooLong(kMaxUnits + 1, L'x');
    const Case cases[] = {
        {"unknown code", kRequestMark | 0x20, L"", 0, Result::Malformed},
        {"code 0", kRequestMark, L"", 0, Result::Malformed},
        {"another version", hide + 0x100, L"", 0, Result::Malformed},
        {"no mark", hide & 0xFF, L"", 0, Result::Malformed},
        {"bits above the mark", hide | (ULONG_PTR(1) << 40), L"", 0, Result::Malformed},
        {"data with Hide", hide, L"ab", 4, Result::Malformed},
        {"odd size", setText, L"ab", 3, Result::Malformed},
        {"too long", setText, tooLong, DWORD(tooLong.size() * 2), Result::Malformed},
        {"unpaired surrogate", setText, L"a\xD800", 4, Result::Refused},
        {"no reply window", hide, L"", 0, Result::Stranger, 0},
        {"a reply window that is none", hide, L"", 0, Result::Stranger, 0x7FFF0},
    };
    int failed = 0;
    for (const Case& c : cases) {
        COPYDATASTRUCT data{c.code, c.bytes, const_cast<wchar_t*>(c.text.data())};
        const WPARAM replyTo = c.replyTo == kOurs ? reinterpret_cast<WPARAM>(own) : c.replyTo;
        DWORD_PTR result = 0;
        const bool sent =
            SendMessageTimeoutW(prompt, WM_COPYDATA, replyTo, reinterpret_cast<LPARAM>(&data),
                                SMTO_ABORTIFHUNG, 5000, &result);
        const bool ok = sent && result == DWORD_PTR(c.expected);
        failed += !ok;
        std::printf("%s - %s: %s %llx\n", ok ? "ok  " : "FAIL", c.name,
                    sent ? "answered" : "not carried", static_cast<unsigned long long>(result));
    }
    return failed == 0 ? 0 : 1;
}

// Without standard handles, as a program with windows started from a console window gets them.
int run(std::wstring line, bool noStandardHandles) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (noStandardHandles)
        si.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return 100;
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 124);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD status = 101;
    GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return int(status);
}

// The rows a command wrote to the console of its parent, without their trailing blanks.
int console(const wchar_t* exe, const wchar_t* option) {
    FreeConsole();
    if (!AllocConsole())
        return 102;
    const int status = run(L"\"" + std::wstring(exe) + L"\" " + option, true);
    const HANDLE out =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(out, &info))
        return 103;
    for (SHORT y = 0; y < info.dwCursorPosition.Y; ++y) {
        std::wstring row(size_t(info.dwSize.X), L' ');
        DWORD n = 0;
        ReadConsoleOutputCharacterW(out, row.data(), DWORD(row.size()), COORD{0, y}, &n);
        row.resize(row.find_last_not_of(L' ') + 1);
        std::string bytes(row.size() * 3, '\0');
        bytes.resize(
            size_t(WideCharToMultiByte(CP_UTF8, 0, row.data(), int(row.size()), bytes.data(),
                                       int(bytes.size()), nullptr, nullptr)));
        std::printf("%s\n", bytes.c_str());
    }
    return status;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"malformed")
        return malformed();
    if (argc == 4 && std::wstring(argv[1]) == L"spawn")
        return run(L"\"" + std::wstring(argv[2]) + L"\" --text " + argv[3] + L"\xD800", false);
    if (argc == 4 && std::wstring(argv[1]) == L"console")
        return console(argv[2], argv[3]);
    std::fputs("usage: remote-probe malformed | spawn EXE TEXT | console EXE OPTION\n", stderr);
    return 64;
}
