// Any bytes as the settings file: reading never fails, and a save keeps every entry that could be
// read before it, adds the saved one, and reads back as such.
#include "toolkit/errors.h"
#include "toolkit/qt/qt_store.h"

#include <QDir>
#include <QFile>
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
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory where there is such a file system: syncing to a real disk would slow each run.
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? "/dev/shm/kelm-fuzz-XXXXXX"
                                                       : QDir::tempPath() + "/kelm-fuzz-XXXXXX");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QFile file(dir.path() + "/PUPNAME.conf");
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

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
    toolkit::qt::QtSettingsStore fresh;
    check(fresh.read(kApp, kSection, "Kelm-文本提示框_top") == "4200");
    for (size_t i = 0; i < kKeys.size(); ++i)
        check(fresh.read(kApp, kSection, kKeys[i]) == before[i]);
    return 0;
}
