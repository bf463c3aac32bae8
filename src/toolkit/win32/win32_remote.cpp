#include "win32_remote.h"

#include "win32_text.h"

#include <cstring>
#include <iterator>
#include <vector>

namespace toolkit::win32 {

namespace {

constexpr RemoteAction kActions[] = {
    RemoteAction::Present, RemoteAction::SetText, RemoteAction::GetText,
    RemoteAction::Show,    RemoteAction::Hide,    RemoteAction::Toggle,
    RemoteAction::Lock,    RemoteAction::Unlock,  RemoteAction::Quit,
};

// The user a process runs as, as its token tells it; empty if it cannot be read.
std::vector<BYTE> userOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    std::vector<BYTE> user;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size >= sizeof(TOKEN_USER)) {
        user.resize(size);
        if (!GetTokenInformation(token, TokenUser, user.data(), size, &size))
            user.clear();
    }
    CloseHandle(token);
    return user;
}

PSID sidOf(std::vector<BYTE>& user) {
    TOKEN_USER info;
    std::memcpy(&info, user.data(), sizeof info);
    return info.User.Sid;
}

} // namespace

ULONG_PTR RequestCode(RemoteAction action) {
    ULONG_PTR code = 1;
    for (RemoteAction a : kActions) {
        if (a == action)
            break;
        ++code;
    }
    return kRequestMark | code;
}

std::optional<RemoteRequest> DecodeRequest(ULONG_PTR code, const void* data, DWORD bytes) {
    if ((code & ~ULONG_PTR(0xFF)) != kRequestMark || (code & 0xFF) < 1 ||
        (code & 0xFF) > std::size(kActions))
        return std::nullopt;
    RemoteRequest request;
    request.action = kActions[(code & 0xFF) - 1];
    if (request.action != RemoteAction::SetText)
        return bytes == 0 ? std::optional(request) : std::nullopt;
    if (bytes % sizeof(wchar_t) != 0 || bytes > kMaxUnits * sizeof(wchar_t) || (bytes && !data))
        return std::nullopt;
    // Copied first: the sender's buffer need not be aligned for wchar_t.
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (bytes)
        std::memcpy(text.data(), data, bytes);
    request.text = U8Verbatim(text.data(), text.size());
    return request;
}

bool OfThisUser(HWND window) {
    DWORD pid = 0;
    if (!window || !GetWindowThreadProcessId(window, &pid))
        return false;
    if (pid == GetCurrentProcessId())
        return true;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    std::vector<BYTE> theirs = userOf(process);
    CloseHandle(process);
    std::vector<BYTE> ours = userOf(GetCurrentProcess());
    return !theirs.empty() && !ours.empty() && EqualSid(sidOf(theirs), sidOf(ours));
}

HWND MessageWindow(const wchar_t* className, WNDPROC proc, void* owner) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return hwnd;
}

} // namespace toolkit::win32

namespace toolkit {

// Here, in a file every program of this realisation links: the parser in the core library asks
// for it.
std::optional<bool> ToolkitOption(std::string_view) {
    return std::nullopt; // plain Win32 takes no options of its own
}

} // namespace toolkit
