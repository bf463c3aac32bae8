#pragma once

namespace toolkit::qt {

// Answers --help and --version and refuses what the program does not understand, ending the
// process in those cases; otherwise returns and the program starts as usual. Needs no display.
void ApplyCommandLine(int argc, char** argv);

} // namespace toolkit::qt
