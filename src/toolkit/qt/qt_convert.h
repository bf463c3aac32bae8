#pragma once
#include <QColor>
#include <QString>
#include <QStringDecoder>
#include <Qt>
#include <cstdint>
#include <string>

namespace toolkit::qt {

// Colours are 0x00BBGGRR: red in the low byte.
inline QColor ToQColor(int32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
inline int32_t FromQColor(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

// Every character both ways: QString::fromStdString drops a byte order mark at the start.
inline QString Q(const std::string& s) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8(QByteArrayView(s.data(), qsizetype(s.size())));
}
inline std::string S(const QString& s) {
    return s.toStdString();
}

inline int16_t ButtonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

inline int16_t ButtonMask(Qt::MouseButtons b) {
    return static_cast<int16_t>(((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
                                ((b & Qt::MiddleButton) ? 4 : 0));
}

inline int16_t ShiftMask(Qt::KeyboardModifiers m) {
    return static_cast<int16_t>(((m & Qt::ShiftModifier) ? 1 : 0) |
                                ((m & Qt::ControlModifier) ? 2 : 0) |
                                ((m & Qt::AltModifier) ? 4 : 0));
}

} // namespace toolkit::qt
