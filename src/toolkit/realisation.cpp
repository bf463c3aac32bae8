#include "realisation.h"

#include <cstdlib>

namespace toolkit {

namespace {
std::unique_ptr<Realisation> g_realisation;
}

Realisation& CurrentRealisation() {
    if (!g_realisation)
        std::abort(); // a programming error: nothing can be shown without a realisation
    return *g_realisation;
}

void InstallRealisation(std::unique_ptr<Realisation> realisation) {
    g_realisation = std::move(realisation);
}

void RemoveRealisation() {
    g_realisation.reset();
}

} // namespace toolkit
