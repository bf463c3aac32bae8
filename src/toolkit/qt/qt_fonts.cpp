#include "qt_fonts.h"

#include <QFontDatabase>
#include <QHash>

#include <fontconfig/fontconfig.h>

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

// Whether a font is installed under that name, any of its names: Qt matches a face by its
// localised names too ("微软雅黑" is one of Microsoft YaHei's), which its own database does not
// list. A plain listing, no matching.
bool installedAnyName(const QByteArray& family) {
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* familyOnly = FcObjectSetBuild(FC_FAMILY, nullptr);
    bool found = false;
    if (pattern && familyOnly &&
        FcPatternAddString(pattern, FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.constData()))) {
        FcFontSet* fonts = FcFontList(nullptr, pattern, familyOnly);
        found = fonts && fonts->nfont > 0;
        if (fonts)
            FcFontSetDestroy(fonts);
    }
    if (familyOnly)
        FcObjectSetDestroy(familyOnly);
    if (pattern)
        FcPatternDestroy(pattern);
    return found;
}

QString resolve(const QString& face, const Kind& kind) {
    if (installedAnyName(face.toUtf8()))
        return face;
    // The stand-ins are named as Qt's database lists them.
    for (const char* standIn : kind.standIns)
        if (!QFontDatabase::styles(QString::fromUtf8(standIn)).isEmpty())
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
