#pragma once
// Program-wide rules of the toolkit: every event from a peer runs through Dispatch, End unwinds to
// it, and an error no handler trapped is shown and ends the program.
#include <functional>
#include <string>

namespace toolkit {

// Thrown by End; unwinds the handler chain up to the event that started it.
struct EndProgram {};

// Runs one event handler. Catches EndProgram and untrapped RuntimeErrors (shown in a message box
// under the application's title); both end the program.
void Dispatch(const std::function<void()>& handler);

// The end was asked for from outside the program (a signal, the session ending, the window system
// closing the start-up window): nobody may be there to answer a message box, so from now on an
// untrapped error is written to the standard error and the program's exit status becomes 1.
void EndingFromOutside();
int ExitStatus();

// Ends the program at once: no further handler runs.
[[noreturn]] void End();
bool Ending();

// Called by modal loops when they return: continues unwinding if the program ended meanwhile.
void ContinueEndingIfNeeded();

// Message box; style 0 plain, 16 critical, 32 question, 48 exclamation, 64 information.
// An empty title shows the application's title.
int MsgBox(const std::string& prompt, int style = 0, const std::string& title = {});

const std::string& AppTitle();
void SetAppTitle(const std::string& title);

// For the window tests: forget that a previous program run ended.
void ResetEnding();

} // namespace toolkit
