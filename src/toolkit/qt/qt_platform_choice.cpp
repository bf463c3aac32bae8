#include "qt_platform_choice.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstring>

namespace toolkit::qt {

void ChoosePlatform(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "-platform") || !std::strcmp(argv[i], "--platform"))
            return;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    // Wayland lets no program keep itself above other windows or place itself; XWayland does.
    if (wayland && x11)
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    else if (wayland)
        std::fputs("kelm-prompt: 只有 Wayland 可用，窗口无法保持在最前，也无法自行定位和拖动。\n"
                   "kelm-prompt: Wayland only: the window cannot stay on top of others, place "
                   "itself or be dragged.\n",
                   stderr);
}

} // namespace toolkit::qt
