#pragma once
// What the running prompt does with a request from another process of the same user. The
// realisations carry the requests; this is the one place that acts on them.
#include "toolkit/remote.h"

namespace remote {

// Runs on the user-interface thread, as any event does. No request takes the keyboard focus.
toolkit::RemoteReply Answer(const toolkit::RemoteRequest& request);

} // namespace remote
