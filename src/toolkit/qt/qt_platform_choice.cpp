#include "qt_platform_choice.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
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
    if (wayland && x11) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    } else if (wayland) {
        std::fputs("kelm-prompt: 只有 Wayland 可用，窗口无法保持在最前，也无法自行定位和拖动。\n"
                   "kelm-prompt: Wayland only: the window cannot stay on top of others, place "
                   "itself or be dragged.\n",
                   stderr);
        // Debian ships Qt's Wayland platform plugin apart from Qt itself.
        const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
        if (platforms.entryList({"*qwayland*"}, QDir::Files).isEmpty())
            std::fputs("kelm-prompt: 要在 Wayland 上运行，请安装 qt6-wayland 软件包。\n"
                       "kelm-prompt: to run on Wayland, install the qt6-wayland package.\n",
                       stderr);
    }
}

} // namespace toolkit::qt
