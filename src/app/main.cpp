#include "app/bootstrap.h"
#include "prompt/form1.h"
#include "remote/command_line.h"
#include "remote/remote_service.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"
#include "toolkit/remote.h"
#include "toolkit/window.h"

#include <cstdio>

namespace {

using toolkit::RemoteAction;
using toolkit::RemoteReply;

// What a command's reply means for the process that sent it.
int reported(const RemoteReply& reply, RemoteAction action) {
    if (reply.status != RemoteReply::Status::Done) {
        std::fprintf(stderr, "%s\n", remote::ReplyProblem(reply).c_str());
        return 1;
    }
    if (action == RemoteAction::GetText) {
        std::fwrite(reply.text.data(), 1, reply.text.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const remote::Invocation invocation =
        remote::ParseCommandLine(toolkit::CommandLine(argc, argv));
    if (invocation.status) {
        std::fputs(invocation.output.c_str(), *invocation.status == 0 ? stdout : stderr);
        return *invocation.status;
    }
    const toolkit::RemoteRequest& request = invocation.request;
    // A command goes to the prompt that runs, without starting a window system for it.
    if (!invocation.plainStart) {
        const RemoteReply reply = toolkit::SendToRunningPrompt(request);
        const bool alone = reply.status == RemoteReply::Status::NoPrompt;
        if (!alone || !remote::StartsWhenAlone(request.action))
            return reported(reply, request.action);
    }

    kelm::StartToolkit(argc, argv);
    // Claimed before the window exists: a second start at the same moment finds this one.
    if (toolkit::CurrentRealisation().listen(remote::Answer) == toolkit::Claim::Taken) {
        const RemoteReply reply = toolkit::SendToRunningPrompt(request);
        kelm::StopToolkit();
        return reported(reply, request.action);
    }
    toolkit::Dispatch([&] {
        Form1& prompt = toolkit::Instance<Form1>();
        if (request.action == RemoteAction::SetText)
            prompt.Text1.setPastedText(request.text);
        prompt.Show();
    });
    int code = 0;
    if (!toolkit::Ending())
        code = toolkit::CurrentRealisation().run();
    kelm::StopToolkit();
    return code != 0 ? code : toolkit::ExitStatus();
}
