#pragma once
// Commands from another process of the same user to the running prompt: what travels between
// them, and the transport each realisation brings. What a command does is the program's (see
// src/remote); a realisation only carries it.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

enum class RemoteAction {
    Present, // a plain start while the prompt runs: shown, unlocked, on the screen, raised
    SetText,
    GetText,
    Show,
    Hide,
    Toggle,
    Lock,
    Unlock,
    Quit,
};

struct RemoteRequest {
    RemoteAction action = RemoteAction::Present;
    std::string text; // SetText
};

struct RemoteReply {
    enum class Status {
        Done,        // applied; text holds GetText's answer
        Refused,     // the prompt would not apply it; text says why
        NoPrompt,    // nobody listens
        NoAnswer,    // somebody listens but did not answer in time
        Unreachable, // there is no way to reach a prompt (no session bus); text says why
    };
    Status status = Status::NoAnswer;
    std::string text;
};

// The command line as UTF-8 texts, the program's name first. A text the system cannot give as
// valid UTF-8 is passed on as invalid UTF-8, for the parser to refuse.
std::vector<std::string> CommandLine(int argc, char** argv);

enum class Stream { Output, Error };
// Writes TEXT to the standard output or error of whoever ran the program; false when it could not.
// A Windows program with windows has no console of its own: it writes to its standard streams when
// they are redirected, else to the console of the process that started it.
bool Print(Stream stream, std::string_view text);

// Whether the realisation's toolkit takes an option of this name (without dashes) on the command
// line: nothing when it does not, otherwise whether the option takes a value.
std::optional<bool> ToolkitOption(std::string_view name);

// Carries one request to the prompt that runs for this user, and waits for its reply. Needs no
// realisation and starts no window system: it is what a command-line client runs.
RemoteReply SendToRunningPrompt(const RemoteRequest& request);

// How a starting prompt fares in becoming the one the requests reach.
enum class Claim {
    Mine,        // this process answers from now on
    Taken,       // another prompt runs: send it the request instead of starting
    Unavailable, // no way to be reached (no session bus): the program runs on its own, as before
};

// Handlers run on the user-interface thread, one request at a time.
using RemoteHandler = std::function<RemoteReply(const RemoteRequest&)>;

} // namespace toolkit
