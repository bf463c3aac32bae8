#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace toolkit::qt {

// One line of an INI text as QSettings' reader splits it: a quoted value or a backslash at the
// end of a line carries it on over line breaks, and a ';' outside quotes ends it.
struct IniLine {
    qsizetype start = 0, end = 0; // its bytes, without the line break or a byte order mark
    bool header = false;
    QString section;              // the section it is in ("" or "name/"), for a header the new one
    std::optional<QString> entry; // the key it sets, as QSettings names it ("section/key")
};
std::vector<IniLine> IniLines(QByteArrayView text);

// A key as QSettings looks it up: "/a//b/" is "a/b".
QString IniNormalizedKey(const QString& key);

// Keys (normalized, "section/key") and the texts to store under them.
using IniEntries = QList<std::pair<QString, QString>>;

// The text with the entries set and every other line kept byte for byte: an entry's last line in
// its section is replaced in place, other lines of the same key are dropped, new entries go after
// the last line of the section (or into a new section at the end). Nothing when the entries do not
// share one section.
std::optional<QByteArray> IniMerged(QByteArrayView text, const IniEntries& entries);

// The same change for a text whose end would swallow what is added there (an open quote, a
// backslash): the entries come first in a section of their own, then the old text without them.
std::optional<QByteArray> IniPrefixed(QByteArrayView text, const IniEntries& entries);

} // namespace toolkit::qt
