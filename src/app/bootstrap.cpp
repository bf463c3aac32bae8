#include "bootstrap.h"

#include "product.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"
#include "toolkit/window.h"

namespace kelm {

void StartToolkit(int& argc, char** argv) {
    toolkit::InstallRealisation(toolkit::MakeRealisation(argc, argv));
    toolkit::SetAppTitle(kAppTitle);
}

void StopToolkit() {
    toolkit::DestroyAllForms();
    toolkit::FreeUnloadedForms();
    toolkit::RemoveRealisation();
}

} // namespace kelm
