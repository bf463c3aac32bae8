#include "qt_fonts.h"

#include <QFontDatabase>
#include <QHash>

#include <initializer_list>

namespace toolkit::qt {

namespace {

struct Kind {
    std::initializer_list<const char*> windowsFaces;
    std::initializer_list<const char*> standIns; // in the order they are preferred
};

const Kind kKinds[] = {
    {{"微软雅黑", "Microsoft YaHei", "黑体", "SimHei", "华文彩云"},
     {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
      "Droid Sans Fallback"}},
    {{"宋体", "SimSun"},
     {"Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN", "WenQuanYi Micro Hei"}},
    {{"楷体", "KaiTi"}, {"AR PL UKai CN", "Noto Serif CJK SC", "WenQuanYi Micro Hei"}},
};

const Kind* kindOf(const QString& face) {
    for (const Kind& kind : kKinds)
        for (const char* name : kind.windowsFaces)
            if (face.compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0)
                return &kind;
    return nullptr;
}

QString resolve(const QString& face, const Kind& kind) {
    if (QFontDatabase::hasFamily(face))
        return face;
    for (const char* standIn : kind.standIns)
        if (QFontDatabase::hasFamily(QString::fromUtf8(standIn)))
            return QString::fromUtf8(standIn);
    return face; // no Chinese face at all: Qt's own search is all there is
}

} // namespace

QString InstalledFace(const QString& face) {
    const Kind* kind = kindOf(face);
    if (!kind)
        return face;
    // The installed fonts do not change under a running program as far as Qt knows.
    static QHash<QString, QString> known;
    const QString key = face.toCaseFolded();
    auto it = known.constFind(key);
    if (it == known.constEnd())
        it = known.insert(key, resolve(face, *kind));
    return *it;
}

} // namespace toolkit::qt
