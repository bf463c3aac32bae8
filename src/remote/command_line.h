#pragma once
// The program's command line: a plain start, or one command for the prompt that runs already.
#include "toolkit/remote.h"

#include <optional>
#include <string>
#include <vector>

namespace remote {

struct Invocation {
    // Set when the process only answers here: --help, --version, or a usage error (status 2).
    std::optional<int> status;
    std::string output; // for standard output with status 0, standard error otherwise
    // Otherwise what to do: a plain start is Present.
    toolkit::RemoteRequest request;
    bool plainStart = true;
    // The window toolkit's own options, with their values, as given: all it may read of the
    // command line, so that a TEXT such as "-reverse" stays the prompt's.
    std::vector<std::string> toolkitOptions;
};

// args: the UTF-8 command line, the program's name first. Options the window toolkit takes are
// left to it.
Invocation ParseCommandLine(const std::vector<std::string>& args);

// Why a text cannot be the prompt's text, or nothing when it can.
std::optional<std::string> TextProblem(const std::string& text);

// With no prompt running, these start one that applies them; the other commands need one running.
bool StartsWhenAlone(toolkit::RemoteAction action);

// The line a client prints on standard error for a reply that is not Done.
std::string ReplyProblem(const toolkit::RemoteReply& reply);

} // namespace remote
