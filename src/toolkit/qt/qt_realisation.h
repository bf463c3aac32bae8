#pragma once
#include "toolkit/realisation.h"

#include <memory>

namespace toolkit::qt {

// Creates the QApplication and everything the program's windows need from Qt 6 Widgets.
std::unique_ptr<Realisation> MakeQtRealisation(int& argc, char** argv);

} // namespace toolkit::qt
