// The command line and the standard streams of a program built for the Windows subsystem.
#include "toolkit/remote.h"
#include "win32_text.h"

#include <windows.h>

#include <cwchar>

// msvcrt's own parse of the command line into wide arguments, by the rules that gave argv.
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int expandWildcards,
                              int* startInfo);

namespace toolkit {

namespace {

bool usable(HANDLE h) {
    return h && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

// The console of the process that started this one, opened once; null if it has none.
HANDLE parentConsole() {
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return HANDLE(nullptr); // ERROR_ACCESS_DENIED: attached already
        const HANDLE h =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        return h == INVALID_HANDLE_VALUE ? HANDLE(nullptr) : h;
    }();
    return console;
}

// Lines end as they do in Windows text files.
std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

std::vector<std::string> CommandLine(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = nullptr;
    wchar_t** env = nullptr;
    int newMode = 0;
    if (__wgetmainargs(&count, &wide, &env, 0, &newMode) < 0 || !wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
        args.push_back(win32::U8Verbatim(wide[i], std::wcslen(wide[i])));
    return args;
}

bool Print(Stream stream, std::string_view text) {
    HANDLE h = GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (!usable(h))
        h = parentConsole();
    if (!h)
        return false;
    const std::string bytes = withCrLf(text);
    // Each call may write only a part: the rest follows until all is written or nothing is.
    const auto all = [](const auto& data, auto write) {
        for (size_t at = 0; at < data.size();) {
            DWORD written = 0;
            if (!write(data.data() + at, DWORD(data.size() - at), &written) || written == 0)
                return false;
            at += written;
        }
        return true;
    };
    DWORD mode = 0;
    // To a console in its own characters: its code page need not be UTF-8.
    if (GetConsoleMode(h, &mode))
        return all(win32::W(bytes), [h](const wchar_t* p, DWORD n, DWORD* written) {
            return WriteConsoleW(h, p, n, written, nullptr);
        });
    return all(bytes, [h](const char* p, DWORD n, DWORD* written) {
        return WriteFile(h, p, n, written, nullptr);
    });
}

} // namespace toolkit
