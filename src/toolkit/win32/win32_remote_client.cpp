// The command-line client: finds the prompt's window in this session and sends it one request. It
// makes only a message-only window, for the reply's text.
#include "win32_remote.h"
#include "win32_text.h"

#include <cstring>

namespace toolkit::win32 {

namespace {

using Status = RemoteReply::Status;

// A save may wait for another copy's lock for up to ten seconds.
constexpr UINT kQuitTimeoutMs = 25000;
constexpr UINT kTimeoutMs = 10000;
// How long a starting prompt may take to show its window.
constexpr DWORD kStartTimeoutMs = 10000;

// The prompt of this user; another user's, in the same session, is not ours to drive.
HWND findPrompt() {
    for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, kListenerClass, nullptr));)
        if (OfThisUser(h))
            return h;
    return nullptr;
}

// Receives the reply's text from the prompt it waits for, and from no other window.
class ReplyWindow {
  public:
    explicit ReplyWindow(HWND prompt)
        : m_prompt(prompt), m_hwnd(MessageWindow(kReplyClass, proc, this)) {}
    ~ReplyWindow() {
        if (m_hwnd)
            DestroyWindow(m_hwnd);
    }
    ReplyWindow(const ReplyWindow&) = delete;
    ReplyWindow& operator=(const ReplyWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    const std::string& text() const { return m_text; }

  private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<ReplyWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg != WM_COPYDATA || !self)
            return DefWindowProcW(hwnd, msg, wp, lp);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (reinterpret_cast<HWND>(wp) != self->m_prompt || !data || data->dwData != kReplyMark ||
            data->cbData % sizeof(wchar_t) || data->cbData > kMaxReplyUnits * sizeof(wchar_t) ||
            (data->cbData && !data->lpData))
            return FALSE;
        std::wstring text(data->cbData / sizeof(wchar_t), L'\0');
        if (data->cbData)
            std::memcpy(text.data(), data->lpData, data->cbData);
        self->m_text = U8Verbatim(text.data(), text.size());
        return TRUE;
    }

    HWND m_prompt;
    HWND m_hwnd;
    std::string m_text;
};

RemoteReply send(HWND prompt, const RemoteRequest& request) {
    ReplyWindow reply(prompt);
    if (!reply.hwnd())
        return {Status::NoAnswer, "无法创建窗口 (cannot make a window)"};
    const std::wstring text = request.action == RemoteAction::SetText ? W(request.text) : L"";
    COPYDATASTRUCT data{};
    data.dwData = RequestCode(request.action);
    data.cbData = DWORD(text.size() * sizeof(wchar_t));
    data.lpData = text.empty() ? nullptr : const_cast<wchar_t*>(text.data());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(prompt, WM_COPYDATA, reinterpret_cast<WPARAM>(reply.hwnd()),
                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             request.action == RemoteAction::Quit ? kQuitTimeoutMs : kTimeoutMs,
                             &result))
        return {IsWindow(prompt) ? Status::NoAnswer : Status::NoPrompt, {}};
    switch (static_cast<Result>(result)) {
    case Result::Done:
        return {Status::Done, reply.text()};
    case Result::Refused:
        return {Status::Refused, reply.text()};
    case Result::Malformed:
        return {Status::Refused, "运行中的提示框不认识这个请求 (the running prompt did not "
                                 "understand the request)"};
    case Result::Stranger:
        return {Status::Refused, "运行中的提示框属于另一个用户 (the running prompt is another "
                                 "user's)"};
    case Result::Busy:
        return {Status::NoAnswer, "正忙 (busy)"};
    case Result::Ending:
        break;
    }
    return {Status::NoAnswer, {}};
}

} // namespace

} // namespace toolkit::win32

namespace toolkit {

RemoteReply SendToRunningPrompt(const RemoteRequest& request) {
    using namespace win32;
    HWND prompt = findPrompt();
    if (!prompt) {
        // A prompt that is starting has claimed the session but has no window yet: it sets the
        // event once it has (or once it gives up).
        HANDLE ready = OpenEventW(SYNCHRONIZE, FALSE, kReadyName);
        if (!ready)
            return {Status::NoPrompt, {}};
        const DWORD waited = WaitForSingleObject(ready, kStartTimeoutMs);
        CloseHandle(ready);
        if (waited != WAIT_OBJECT_0)
            return {Status::NoAnswer, "提示框还在启动 (the prompt is still starting)"};
        prompt = findPrompt();
        if (!prompt)
            return {Status::NoPrompt, {}};
    }
    return send(prompt, request);
}

} // namespace toolkit
