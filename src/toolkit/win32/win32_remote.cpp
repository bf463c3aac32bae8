// Requests from other processes of the same user: not carried yet on this realisation.
#include "toolkit/remote.h"

namespace toolkit {

std::vector<std::string> CommandLine(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::optional<bool> ToolkitOption(std::string_view) {
    return std::nullopt;
}

RemoteReply SendToRunningPrompt(const RemoteRequest&) {
    return {RemoteReply::Status::NoPrompt, {}};
}

} // namespace toolkit
