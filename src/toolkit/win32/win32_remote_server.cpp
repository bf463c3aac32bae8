// The running prompt's side: the session's claim, and the window that answers requests on the
// user-interface thread.
#include "toolkit/program.h"
#include "win32_remote.h"
#include "win32_text.h"

namespace toolkit::win32 {

namespace {

// However the caller behaves, the prompt waits no longer than this to hand it the reply's text.
constexpr UINT kReplyTimeoutMs = 2000;

Result resultOf(RemoteReply::Status status) {
    switch (status) {
    case RemoteReply::Status::Done:
        return Result::Done;
    case RemoteReply::Status::Refused:
        return Result::Refused;
    case RemoteReply::Status::NoPrompt:
    case RemoteReply::Status::NoAnswer:
    case RemoteReply::Status::Unreachable:
        break;
    }
    return Result::Ending;
}

void closeHandle(HANDLE& h) {
    if (h)
        CloseHandle(h);
    h = nullptr;
}

} // namespace

RemoteListener::~RemoteListener() {
    close();
}

// The event is there before the claim, so that whoever finds the claim taken finds the event to
// wait on; only the claim's owner resets it.
Claim RemoteListener::listen(RemoteHandler handler) {
    if (m_claim)
        return Claim::Mine;
    m_ready = CreateEventW(nullptr, TRUE, FALSE, kReadyName);
    m_claim = m_ready ? CreateMutexW(nullptr, TRUE, kClaimName) : nullptr;
    // Made by another user in this session, say: this prompt runs on its own.
    if (!m_claim) {
        closeHandle(m_ready);
        return Claim::Unavailable;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Released by a prompt that ended, or abandoned by one that crashed: ours now.
        const DWORD owned = WaitForSingleObject(m_claim, 0);
        if (owned != WAIT_OBJECT_0 && owned != WAIT_ABANDONED) {
            closeHandle(m_claim);
            closeHandle(m_ready);
            return Claim::Taken;
        }
    }
    ResetEvent(m_ready);
    m_handler = std::move(handler);
    return Claim::Mine;
}

void RemoteListener::open() {
    if (!m_claim || m_window)
        return;
    m_window = MessageWindow(kListenerClass, proc, this);
    SetEvent(m_ready);
}

// After the settings are saved, and not before: a start that finds the claim free reads them.
void RemoteListener::close() {
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    if (m_ready)
        SetEvent(m_ready); // whoever waits looks again, and finds nobody
    closeHandle(m_ready);
    if (m_claim)
        ReleaseMutex(m_claim);
    closeHandle(m_claim);
}

LRESULT CALLBACK RemoteListener::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<RemoteListener*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg != WM_COPYDATA)
        return DefWindowProcW(hwnd, msg, wp, lp);
    if (!self)
        return LRESULT(Result::Ending);
    return LRESULT(
        self->answer(reinterpret_cast<HWND>(wp), reinterpret_cast<const COPYDATASTRUCT*>(lp)));
}

Result RemoteListener::answer(HWND caller, const COPYDATASTRUCT* data) {
    if (!data)
        return Result::Malformed;
    if (!OfThisUser(caller))
        return Result::Stranger;
    std::optional<RemoteRequest> request = DecodeRequest(data->dwData, data->lpData, data->cbData);
    if (!request)
        return Result::Malformed;
    if (m_busy)
        return Result::Busy;
    m_busy = true;
    const RemoteReply reply = m_handler(*request);
    m_busy = false;
    Result result = resultOf(reply.status);
    std::wstring text = W(reply.text);
    // Never a part of the text taken for the whole.
    if (text.size() > kMaxReplyUnits) {
        result = Result::Refused;
        text = W("文字太长，无法传送 (the text is too long to send)");
    }
    if (result == Result::Refused ||
        (result == Result::Done && request->action == RemoteAction::GetText)) {
        COPYDATASTRUCT back{};
        back.dwData = kReplyMark;
        back.cbData = DWORD(text.size() * sizeof(wchar_t));
        back.lpData = text.empty() ? nullptr : const_cast<wchar_t*>(text.data());
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(caller, WM_COPYDATA, reinterpret_cast<WPARAM>(m_window),
                            reinterpret_cast<LPARAM>(&back), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                            kReplyTimeoutMs, &ignored);
    }
    // The program ends with this request, its settings saved: a start from now on is a new
    // prompt.
    if (toolkit::Ending())
        close();
    return result;
}

} // namespace toolkit::win32
