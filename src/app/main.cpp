#include "app/bootstrap.h"
#include "prompt/form1.h"
#include "remote/command_line.h"
#include "remote/remote_service.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"
#include "toolkit/remote.h"
#include "toolkit/window.h"

#include <string>
#include <vector>

namespace {

using toolkit::RemoteAction;
using toolkit::RemoteReply;

// What a command's reply means for the process that sent it.
int reported(const RemoteReply& reply, RemoteAction action) {
    using toolkit::Stream;
    if (reply.status != RemoteReply::Status::Done) {
        toolkit::Print(Stream::Error, remote::ReplyProblem(reply) + "\n");
        return 1;
    }
    if (action == RemoteAction::GetText)
        return toolkit::Print(Stream::Output, reply.text + "\n") ? 0 : 1;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const remote::Invocation invocation =
        remote::ParseCommandLine(toolkit::CommandLine(argc, argv));
    if (invocation.status) {
        toolkit::Print(*invocation.status == 0 ? toolkit::Stream::Output : toolkit::Stream::Error,
                       invocation.output);
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

    std::vector<char*> toolkitArgs{argv[0]};
    for (const std::string& option : invocation.toolkitOptions)
        toolkitArgs.push_back(const_cast<char*>(option.c_str()));
    int toolkitArgc = int(toolkitArgs.size());
    toolkitArgs.push_back(nullptr);
    kelm::StartToolkit(toolkitArgc, toolkitArgs.data());
    // Claimed before the window exists: a second start at the same moment finds this one. The
    // one that had it may be ending just now; then this start goes on in its place.
    for (int tries = 0; tries < 2; ++tries) {
        if (toolkit::CurrentRealisation().listen(remote::Answer) != toolkit::Claim::Taken)
            break;
        const RemoteReply reply = toolkit::SendToRunningPrompt(request);
        if (reply.status != RemoteReply::Status::NoPrompt || tries == 1) {
            kelm::StopToolkit();
            return reported(reply, request.action);
        }
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
