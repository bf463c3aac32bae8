#pragma once
// Commands for the running prompt on Windows travel as WM_COPYDATA to a message-only window of a
// class of the program's own, in the caller's session; a named mutex lets one start at a time
// become the prompt, and an event tells the commands that wait for a starting prompt when to look
// again. The prompt checks every field it is sent; the caller names in wParam a window of its own,
// to which the text of a reply is sent before the request returns.
#include "toolkit/remote.h"

#include <windows.h>

#include <optional>

namespace toolkit::win32 {

inline constexpr wchar_t kListenerClass[] = L"KelmPromptRemote";
inline constexpr wchar_t kReplyClass[] = L"KelmPromptReply";
inline constexpr wchar_t kClaimName[] = L"Local\\io.github.kelm_prompt.prompt";
inline constexpr wchar_t kReadyName[] = L"Local\\io.github.kelm_prompt.prompt.ready";

// dwData of a request: this mark, which holds the protocol's version, plus the action's code
// (1 to 9, in the order of RemoteAction). lpData: SetText's text in UTF-16, without a terminating
// null; nothing for the others.
inline constexpr ULONG_PTR kRequestMark = 0x4B500100;
// dwData of the reply's text: the text of GetText, or why the request was refused.
inline constexpr ULONG_PTR kReplyMark = 0x4B520100;
// At most this many UTF-16 units of text travel to the prompt: what its text box can be given.
inline constexpr DWORD kMaxUnits = 32767;
// The Windows text box takes any length: a reply carries all of what it holds, up to far more
// than anyone would show.
inline constexpr DWORD kMaxReplyUnits = DWORD{1} << 24;

// What the prompt's window procedure returns for a request; anything else is no answer.
enum class Result : LRESULT {
    Done = 0x4B520001,
    Refused,   // the prompt would not apply it; the reply's text says why
    Malformed, // not a request of this version
    Stranger,  // the window in wParam is not of a process of the prompt's user
    Busy,      // sent while another request was being answered
    Ending,    // the prompt is on its way out
};

ULONG_PTR RequestCode(RemoteAction action);
// The request a message carries, or nothing when any part of it is not one this protocol sends.
// data may be anything the sender chose (unaligned, or null with a size).
std::optional<RemoteRequest> DecodeRequest(ULONG_PTR code, const void* data, DWORD bytes);

// Whether the process that owns the window runs as the same user as this one.
bool OfThisUser(HWND window);

// A message-only window of the class (registered on first use) whose user data is owner; null if
// it cannot be made.
HWND MessageWindow(const wchar_t* className, WNDPROC proc, void* owner);

// The running prompt's side: claims the session's prompt, then answers requests on the
// user-interface thread once the event loop runs.
class RemoteListener {
  public:
    RemoteListener() = default;
    ~RemoteListener();
    RemoteListener(const RemoteListener&) = delete;
    RemoteListener& operator=(const RemoteListener&) = delete;

    Claim listen(RemoteHandler handler);
    // The prompt's window exists and its loop is about to run: requests are answered from now on.
    void open();

  private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    Result answer(HWND caller, const COPYDATASTRUCT* data);
    void close();

    RemoteHandler m_handler;
    HANDLE m_claim = nullptr, m_ready = nullptr;
    HWND m_window = nullptr;
    bool m_busy = false;
};

} // namespace toolkit::win32
