// Any bytes as the settings file: reading never fails, the lines are split as QSettings splits
// them, and a save keeps every other line byte for byte, keeps every entry that could be read
// before it, and adds the saved one.
#include "toolkit/errors.h"
#include "toolkit/qt/ini_text.h"
#include "toolkit/qt/qt_store.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {
const std::string kApp = "PUPNAME", kSection = "APPNAME";
const std::vector<std::string> kKeys = {"Kelm-文本提示框_left", "Kelm-文本提示框_文本内容", "a",
                                        "b"};

void check(bool ok) {
    if (!ok)
        std::abort();
}

QByteArray contents(const QString& path) {
    QFile f(path);
    check(f.open(QIODevice::ReadOnly));
    return f.readAll();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory where there is such a file system: syncing to a real disk would slow each run.
    static QTemporaryDir top(QDir("/dev/shm").exists() ? "/dev/shm/kelm-fuzz-XXXXXX"
                                                       : QDir::tempPath() + "/kelm-fuzz-XXXXXX");
    // A directory per run: QSettings would take a file of the same size written in the same
    // millisecond under a name it has read before for the one it read.
    static int run = 0;
    QDir dir(top.path() + "/" + QString::number(++run));
    check(dir.mkpath("."));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString path = dir.filePath("PUPNAME.conf");
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly));
        file.write(input);
    }

    QSet<QString> split;
    for (const toolkit::qt::IniLine& line : toolkit::qt::IniLines(input))
        if (line.entry)
            split.insert(*line.entry);
    {
        QSettings s(path, QSettings::IniFormat);
        const QStringList keys = s.allKeys();
        check(split == QSet<QString>(keys.begin(), keys.end()));
    }

    std::vector<std::optional<std::string>> before;
    {
        toolkit::qt::QtSettingsStore store;
        for (const std::string& k : kKeys)
            before.push_back(store.read(kApp, kSection, k));
        try {
            store.write(kApp, kSection, {{"Kelm-文本提示框_top", "4200"}});
        } catch (const toolkit::RuntimeError&) {
            std::abort(); // a writable directory never refuses
        }
    }
    const toolkit::qt::IniEntries entry = {{"APPNAME/Kelm-文本提示框_top", "4200"}};
    const QByteArray saved = contents(path);
    check(saved == toolkit::qt::IniMerged(input, entry) ||
          saved == toolkit::qt::IniPrefixed(input, entry));
    toolkit::qt::QtSettingsStore fresh;
    check(fresh.read(kApp, kSection, "Kelm-文本提示框_top") == "4200");
    for (size_t i = 0; i < kKeys.size(); ++i)
        check(fresh.read(kApp, kSection, kKeys[i]) == before[i]);
    check(dir.removeRecursively());
    return 0;
}
