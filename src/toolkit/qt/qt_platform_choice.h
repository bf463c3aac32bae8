#pragma once

namespace toolkit::qt {

// Picks X11 in a Wayland session that offers it, unless the user chose a platform; says on
// standard error what cannot work when Wayland is all there is. Runs before Qt starts.
void ChoosePlatform(int argc, char** argv);

} // namespace toolkit::qt
