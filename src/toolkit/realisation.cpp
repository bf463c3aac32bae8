#include "realisation.h"

#include <cstdlib>

namespace toolkit {

namespace {
// A plain pointer: a toolkit may call exit() while it runs (Qt does when the X connection breaks),
// and tearing it down among the other statics would crash on the way out.
Realisation* g_realisation = nullptr;
} // namespace

Realisation& CurrentRealisation() {
    if (!g_realisation)
        std::abort(); // a programming error: nothing can be shown without a realisation
    return *g_realisation;
}

void InstallRealisation(std::unique_ptr<Realisation> realisation) {
    delete g_realisation;
    g_realisation = realisation.release();
}

void RemoveRealisation() {
    delete g_realisation;
    g_realisation = nullptr;
}

} // namespace toolkit
