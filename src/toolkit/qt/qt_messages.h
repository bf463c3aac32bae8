#pragma once

namespace toolkit::qt {

// Qt reports a missing display with a fatal message and abort(), and the loss of the X connection
// with a warning and exit(1). Between BeginStartup and EndStartup a fatal message becomes one
// line on stderr and exit status 1; afterwards the connection's loss saves as a logout would
// before Qt ends the process.
void BeginStartup();
void EndStartup();

} // namespace toolkit::qt
