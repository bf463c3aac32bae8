#pragma once
// A realisation that has a settings store and nothing else, for tests that open no window.
#include "toolkit/realisation.h"

namespace testing_support {

void InstallStoreOnlyRealisation();

} // namespace testing_support
