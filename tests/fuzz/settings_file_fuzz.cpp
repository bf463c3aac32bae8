// Any bytes as the settings file, any text as the prompt's: the save lands, the text reads back
// exactly, every other entry says what it said. Input: a byte L, L bytes of UTF-8 text (repeated to
// some 40000 characters if L's top bit is set), the file.
#include "toolkit/qt/qt_convert.h"
#include "toolkit/qt/qt_store.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
using toolkit::qt::Q;
using toolkit::qt::S;
const std::string kApp = "PUPNAME", kSection = "APPNAME";
const std::string kText = "Kelm-文本提示框_文本内容", kTop = "Kelm-文本提示框_top";

// Says which check failed: the input alone does not tell.
void check(bool ok, int line = __builtin_LINE()) {
    if (!ok) {
        std::fprintf(stderr, "failed: the check on line %d\n", line);
        std::abort();
    }
}

// In memory where there is such a file system: syncing to a real disk would slow each run.
QString scratch() {
    static QTemporaryDir top(QDir("/dev/shm").exists() ? "/dev/shm/kelm-fuzz-XXXXXX"
                                                       : QDir::tempPath() + "/kelm-fuzz-XXXXXX");
    return top.path();
}

// Half of a surrogate pair (a file can escape one) is compared as the U+FFFD QSettings writes.
QString Whole(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// An entry's text as QSettings writes it back: types as text, bytes as text when UTF-8.
QString SettingsText(const QVariant& v) {
    if (v.typeId() == QMetaType::QStringList || v.typeId() == QMetaType::QVariantList)
        return Whole(v.toStringList().join(QLatin1Char(',')));
    if (v.typeId() == QMetaType::QByteArray) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        const QString text = utf8(v.toByteArray());
        return utf8.hasError() ? "bytes:" + QString::fromLatin1(v.toByteArray().toHex()) : text;
    }
    return Whole(v.toString());
}

// Every key a lookup finds ("", "/a" or "a//b" none does; a group "general" in any case is
// written "General"), parsed under a name no QSettings here has read, so none remembers it.
QMap<QString, QString> SettingsMeaning(const QByteArray& bytes) {
    static int serial = 0;
    const QString name = scratch() + "/meaning-" + QString::number(++serial);
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
                meaning.insert(
                    key.startsWith("general/", Qt::CaseInsensitive) ? "General" + key.mid(7) : key,
                    SettingsText(s.value(key)));
    }
    QFile::remove(name);
    return meaning;
}

QMap<QString, QString> withoutWritten(QMap<QString, QString> meaning) {
    meaning.remove(QString::fromStdString(kSection + "/" + kText));
    meaning.remove(QString::fromStdString(kSection + "/" + kTop));
    return meaning;
}
} // namespace

// A smaller quarantine: texts of some hundred kilobytes each run would near the memory limit. An
// @Variant can ask for gigabytes it never touches, which only AddressSanitizer pays for: refused.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16:allocator_may_return_null=1:max_allocation_size_mb=1024";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t textSize = std::min<size_t>(data[0] & 0x7F, size - 1);
    QString longText =
        QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)(
            QByteArrayView(data + 1, qsizetype(textSize)));
    if (data[0] & 0x80 && !longText.isEmpty())
        longText = longText.repeated(40000 / longText.size() + 1);
    const std::string text = longText.toStdString();
    const QByteArray input(reinterpret_cast<const char*>(data) + 1 + textSize,
                           qsizetype(size - 1 - textSize));

    // A folder per run: QSettings takes a file of a name it read, size and time unchanged, as read.
    static int run = 0;
    QDir dir(scratch() + "/" + QString::number(++run));
    check(dir.mkpath("."));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString path = dir.filePath("PUPNAME.conf");
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly));
        file.write(input);
    }
    // Before the save, each entry of ours the program can spell reads as the file says.
    const QMap<QString, QString> meaning = SettingsMeaning(input);
    const QString ours = QString::fromStdString(kSection + "/Kelm-");
    toolkit::qt::QtSettingsStore start;
    for (auto it = meaning.begin(); it != meaning.end(); ++it) {
        const QString key = it.key().mid(kSection.size() + 1);
        if (it.key().startsWith(ours) && Q(S(key)) == key && !it.value().startsWith("bytes:"))
            check(Q(start.read(kApp, kSection, S(key)).value_or("-")) == it.value());
    }

    // A writable folder never refuses: the refusal would end the run uncaught.
    toolkit::qt::QtSettingsStore().write(kApp, kSection, {{kText, text}, {kTop, "4200"}});
    toolkit::qt::QtSettingsStore next;
    check(next.read(kApp, kSection, kText) == text);
    check(next.read(kApp, kSection, kTop) == "4200");
    QFile saved(path);
    check(saved.open(QIODevice::ReadOnly));
    check(withoutWritten(SettingsMeaning(saved.readAll())) == withoutWritten(meaning));
    check(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) ==
          QStringList{"PUPNAME.conf"});
    check(dir.removeRecursively());
    return 0;
}
