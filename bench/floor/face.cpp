// kelm-face NAME: the face the program's Qt realisation asks Qt for when a font names NAME.
#include "toolkit/qt/qt_fonts.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    std::printf(
        "%s\n",
        toolkit::qt::InstalledFace(QString::fromLocal8Bit(argv[1])).toLocal8Bit().constData());
    return 0;
}
