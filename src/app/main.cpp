#include "app/bootstrap.h"
#include "prompt/form1.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"
#include "toolkit/window.h"

int main(int argc, char** argv) {
    kelm::StartToolkit(argc, argv);
    // Creating the prompt window loads it; showing it lays it out once more.
    toolkit::Dispatch([] { toolkit::Instance<Form1>().Show(); });
    int code = 0;
    if (!toolkit::Ending())
        code = toolkit::CurrentRealisation().run();
    kelm::StopToolkit();
    return code != 0 ? code : toolkit::ExitStatus();
}
