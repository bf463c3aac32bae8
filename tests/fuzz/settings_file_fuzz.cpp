// Any bytes as the settings file and any text as the prompt's: a save in a writable folder always
// lands, the next start reads the text back exactly, and every other entry says what it said.
//
// The input is a byte L, L bytes of the text (as UTF-8, anything else in it replaced; the text is
// repeated to some 40000 characters when L's top bit is set) and then the file.
#include "toolkit/errors.h"
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
#include <sys/stat.h>

namespace {
using toolkit::qt::Q;
using toolkit::qt::S;
const std::string kApp = "PUPNAME", kSection = "APPNAME";
const std::string kText = "Kelm-文本提示框_文本内容", kTop = "Kelm-文本提示框_top";

// Says which check failed: the input alone does not tell.
#define check(ok)                                                                                  \
    do {                                                                                           \
        if (!(ok)) {                                                                               \
            std::fprintf(stderr, "failed: %s\n", #ok);                                             \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Half of a surrogate pair (a file can escape one) is no character: QSettings' writer makes it
// U+FFFD, and so it is compared.
QString Whole(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// What a settings file says, as a fresh QSettings parse of it gives it: every key a lookup finds,
// with its text. QSettings looks a key up as "a/b" whatever slashes it is given, so an entry a file
// names "", "/a" or "a//b" is found by no lookup and says nothing. Its writer names a group
// "general" in any case "General", and stores numbers and the other types as their text, so texts
// are compared, not types; bytes are compared as the text they are when they are UTF-8, as bytes
// when not.
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

// The bytes are parsed under a name no QSettings of this process has read before, so that nothing
// it remembers stands in for them.
QMap<QString, QString> SettingsMeaning(const QByteArray& bytes) {
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
                meaning.insert(
                    key.startsWith("general/", Qt::CaseInsensitive) ? "General" + key.mid(7) : key,
                    SettingsText(s.value(key)));
    }
    QFile::remove(name);
    return meaning;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    check(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    check(::stat(QFile::encodeName(path).constData(), &st) == 0);
    return st.st_mode & 07777;
}

std::string textOf(const QByteArray& bytes, bool longText) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (longText && !text.isEmpty())
        text = text.repeated(40000 / text.size() + 1);
    return text.toStdString();
}

QMap<QString, QString> withoutWritten(QMap<QString, QString> meaning) {
    meaning.remove(QString::fromStdString(kSection + "/" + kText));
    meaning.remove(QString::fromStdString(kSection + "/" + kTop));
    return meaning;
}
} // namespace

// Each run makes and drops texts of some hundred kilobytes: AddressSanitizer's usual quarantine of
// freed memory takes the process near libFuzzer's memory limit and makes it three times slower.
// A stored value QSettings decodes (@Variant) can ask for gigabytes it never touches, which costs
// nothing without AddressSanitizer and its shadow of them with it; tens of gigabytes the system
// refuses, and Qt takes the value for damaged. Such requests are refused here.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16:allocator_may_return_null=1:max_allocation_size_mb=1024";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t textSize = std::min<size_t>(data[0] & 0x7F, size - 1);
    const std::string text = textOf(
        QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(textSize)), data[0] & 0x80);
    const QByteArray input(reinterpret_cast<const char*>(data) + 1 + textSize,
                           qsizetype(size - 1 - textSize));

    // In memory where there is such a file system: syncing to a real disk would slow each run.
    static QTemporaryDir top(QDir("/dev/shm").exists() ? "/dev/shm/kelm-fuzz-XXXXXX"
                                                       : QDir::tempPath() + "/kelm-fuzz-XXXXXX");
    // A folder per run: QSettings would take a file of the same size written in the same
    // millisecond under a name it has read before for the one it read.
    static int run = 0;
    QDir dir(top.path() + "/" + QString::number(++run));
    check(dir.mkpath("."));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString path = dir.filePath("PUPNAME.conf");
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly));
        file.write(input);
    }
    const mode_t mode = modeOf(path);
    // Before the save, the program reads each of its own entries as the file says it: a key of
    // its prefix, which it can spell (no character of it replaced on the way to UTF-8).
    const QMap<QString, QString> meaning = SettingsMeaning(input);
    const QString ours = QString::fromStdString(kSection + "/Kelm-");
    toolkit::qt::QtSettingsStore start;
    for (auto it = meaning.begin(); it != meaning.end(); ++it) {
        const QString key = it.key().mid(kSection.size() + 1);
        if (it.key().startsWith(ours) && Q(S(key)) == key && !it.value().startsWith("bytes:"))
            check(Q(start.read(kApp, kSection, S(key)).value_or("-")) == it.value());
    }

    try {
        toolkit::qt::QtSettingsStore().write(kApp, kSection, {{kText, text}, {kTop, "4200"}});
    } catch (const toolkit::RuntimeError&) {
        std::abort(); // a writable folder never refuses
    }
    toolkit::qt::QtSettingsStore next;
    check(next.read(kApp, kSection, kText) == text);
    check(next.read(kApp, kSection, kTop) == "4200");
    check(withoutWritten(SettingsMeaning(contents(path))) == withoutWritten(meaning));
    check(modeOf(path) == mode);
    check(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) ==
          QStringList{"PUPNAME.conf"});
    check(dir.removeRecursively());
    return 0;
}
