#include "remote_service.h"

#include "command_line.h"
#include "prompt/form1.h"
#include "toolkit/errors.h"
#include "toolkit/program.h"
#include "toolkit/window.h"

namespace remote {

namespace {

using toolkit::RemoteAction;
using toolkit::RemoteReply;
using Status = RemoteReply::Status;

// As 退出 does, but for a command from outside: nobody may be at the screen to answer a message
// box, so a save that fails is told to the caller and ends the program with status 1.
void quit(RemoteReply& reply) {
    toolkit::EndingFromOutside();
    try {
        for (toolkit::Window* window : toolkit::Forms())
            toolkit::Unload(*window);
    } catch (const toolkit::RuntimeError& e) {
        reply = {Status::Refused, e.Description()};
        throw;
    }
    reply = {Status::Done, {}};
    toolkit::End();
}

void serve(const toolkit::RemoteRequest& request, RemoteReply& reply) {
    Form1* prompt = toolkit::LoadedInstance<Form1>();
    if (!prompt)
        return; // on its way out
    switch (request.action) {
    case RemoteAction::SetText:
        if (const auto problem = TextProblem(request.text)) {
            reply = {Status::Refused, *problem};
            return;
        }
        prompt->Text1.setPastedText(request.text);
        break;
    case RemoteAction::GetText:
        reply = {Status::Done, prompt->Text1.Text()};
        return;
    case RemoteAction::Show:
        prompt->ShowInactive();
        break;
    case RemoteAction::Hide:
        prompt->Hide();
        break;
    case RemoteAction::Toggle:
        if (prompt->Visible())
            prompt->Hide();
        else
            prompt->ShowInactive();
        break;
    case RemoteAction::Lock:
    case RemoteAction::Unlock:
        prompt->setPassThrough(request.action == RemoteAction::Lock);
        break;
    case RemoteAction::Present:
        // Whoever starts the program again is looking for it: nothing may keep it from them.
        prompt->setPassThrough(false);
        prompt->BringFullyOnScreen();
        prompt->ShowInactive();
        break;
    case RemoteAction::Quit:
        quit(reply);
        return;
    }
    reply = {Status::Done, {}};
}

} // namespace

RemoteReply Answer(const toolkit::RemoteRequest& request) {
    RemoteReply reply; // no answer, unless the prompt gives one
    toolkit::Dispatch([&] { serve(request, reply); });
    return reply;
}

} // namespace remote
