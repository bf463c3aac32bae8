#pragma once
// What a settings file says, as a fresh QSettings parse of it gives it: every key a lookup finds,
// with its text. QSettings looks a key up as "a/b" whatever slashes it is given, so an entry a file
// names "", "/a" or "a//b" is found by no lookup and says nothing. Its writer stores numbers and
// the other types as their text, so texts are compared, not types; bytes are compared as the text
// they are when they are UTF-8, as bytes when not.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

inline QString SettingsText(const QVariant& v) {
    if (v.typeId() == QMetaType::QStringList || v.typeId() == QMetaType::QVariantList)
        return v.toStringList().join(QLatin1Char(','));
    if (v.typeId() == QMetaType::QByteArray) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        const QString text = utf8(v.toByteArray());
        return utf8.hasError() ? "bytes:" + QString::fromLatin1(v.toByteArray().toHex()) : text;
    }
    return v.toString();
}

// The bytes are parsed under a name no QSettings of this process has read before, so that nothing
// it remembers stands in for them.
inline QMap<QString, QString> SettingsMeaning(const QByteArray& bytes) {
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? "/dev/shm/kelm-meaning-XXXXXX"
                                                       : QDir::tempPath() + "/kelm-meaning-XXXXXX");
    static int serial = 0;
    const QString name = dir.filePath(QString::number(++serial));
    {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {{"", "unreadable"}};
    }
    QMap<QString, QString> meaning;
    {
        QSettings s(name, QSettings::IniFormat);
        for (const QString& key : s.allKeys())
            if (!key.isEmpty() &&
                key == key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/')))
                meaning.insert(key, SettingsText(s.value(key)));
    }
    QFile::remove(name);
    return meaning;
}
