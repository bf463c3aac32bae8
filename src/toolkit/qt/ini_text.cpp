#include "ini_text.h"

#include <QLibraryInfo>
#include <QStringList>
#include <QStringView>
#include <QVersionNumber>

#include <algorithm>

namespace toolkit::qt {

namespace {

constexpr QByteArrayView kBom = "\xef\xbb\xbf";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

struct Span {
    qsizetype start, end, equals;
};

// The next line from pos on, by the reader's rules, and pos moved past it.
std::optional<Span> nextLine(QByteArrayView d, qsizetype& pos) {
    const qsizetype n = d.size();
    bool inQuotes = false;
    qsizetype equals = -1;
    qsizetype start = pos;
    while (start < n && isBlank(d[start]))
        ++start;
    qsizetype i = start;
    while (i < n) {
        const char ch = d[i++];
        if (ch == '=') {
            if (!inQuotes && equals == -1)
                equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            // The escaped character is taken as it is; an escaped line break may be two bytes.
            if (i < n) {
                const char c = d[i++];
                if (i < n && ((c == '\n' && d[i] == '\r') || (c == '\r' && d[i] == '\n')))
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == start + 1) { // a comment: skipped with the blanks after it
                while (i < n && d[i] != '\n' && d[i] != '\r')
                    ++i;
                while (i < n && isBlank(d[i]))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    if (i <= start)
        return std::nullopt;
    return Span{start, i, equals};
}

QString unescapedKey(QByteArrayView key) {
    const QString d = QString::fromUtf8(key);
    QString out;
    qsizetype i = 0;
    while (i < d.size()) {
        const QChar ch = d[i];
        if (ch == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == d.size() - 1) {
            out += ch;
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        qsizetype digits = 2;
        if (d[first] == u'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const ushort code =
            first + digits <= d.size() ? QStringView(d).sliced(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            out += u'%';
            ++i;
            continue;
        }
        out += QChar(code);
        i = first + digits;
    }
    return out;
}

QByteArray escapedKey(const QString& key) {
    QByteArray out;
    for (const QChar qc : key) {
        const char16_t ch = qc.unicode();
        if (ch == u'/') {
            out += '\\';
        } else if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') ||
                   (ch >= u'0' && ch <= u'9') || ch == u'_' || ch == u'-' || ch == u'.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%' + QByteArray::number(ch, 16).toUpper().rightJustified(2, '0');
        } else {
            out += "%U" + QByteArray::number(ch, 16).toUpper().rightJustified(4, '0');
        }
    }
    return out;
}

QByteArray escapedValue(const QString& text) {
    // A leading '@' would name a type: doubled, it reads back as itself.
    const QByteArray raw = (text.startsWith(u'@') ? QByteArray("@") : QByteArray()) + text.toUtf8();
    QByteArray out;
    bool quote = false;
    bool escapeHex = false; // the escape before would take a following hex digit as its own
    for (const char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ';' || c == ',' || c == '=')
            quote = true;
        if (escapeHex && isHexDigit(c)) {
            out += "\\x" + QByteArray::number(u, 16);
            continue;
        }
        escapeHex = false;
        static constexpr char kNamed[][2] = {{'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'}, {'\n', 'n'},
                                             {'\r', 'r'}, {'\t', 't'}, {'\v', 'v'}};
        const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                        [c](const char* e) { return e[0] == c; });
        if (c == '\0') {
            out += "\\0";
            escapeHex = true;
        } else if (named != std::end(kNamed)) {
            out += '\\';
            out += (*named)[1];
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\x" + QByteArray::number(u, 16);
            escapeHex = true;
        } else {
            out += c;
        }
    }
    // Blanks at either end are trimmed, and ',' ';' '=' read as list, comment or key, unless
    // quoted.
    if (quote || out.startsWith(' ') || out.endsWith(' '))
        out = '"' + out + '"';
    return out;
}

// The section all entries are in, as "name", and each entry's line in it.
struct Block {
    QString group;
    QList<QByteArray> lines;
};
std::optional<Block> blockOf(const IniEntries& entries) {
    Block b;
    for (const auto& [key, text] : entries) {
        const qsizetype slash = key.indexOf(u'/');
        if (slash <= 0 || (!b.group.isEmpty() && key.first(slash) != b.group))
            return std::nullopt;
        b.group = key.first(slash);
        b.lines.append(escapedKey(key.sliced(slash + 1)) + '=' + escapedValue(text));
    }
    if (b.group.isEmpty())
        return std::nullopt;
    return b;
}

QByteArray headerOf(const QString& group) {
    // "[General]" names the entries outside any section; QSettings writes a section so named thus.
    if (group.compare(u"general", Qt::CaseInsensitive) == 0)
        return "[%" + group.toLatin1() + ']';
    return '[' + escapedKey(group) + ']';
}

qsizetype entryIndex(const IniEntries& entries, const std::optional<QString>& key) {
    if (!key)
        return -1;
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const auto& e) { return e.first == *key; });
    return it == entries.end() ? -1 : it - entries.begin();
}

struct Edit {
    qsizetype at, length;
    QByteArray with;
};
QByteArray applied(QByteArrayView text, std::vector<Edit> edits) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.at < b.at; });
    QByteArray out;
    qsizetype copied = 0;
    for (const Edit& e : edits) {
        out.append(text.sliced(copied, e.at - copied)).append(e.with);
        copied = e.at + e.length;
    }
    out.append(text.sliced(copied));
    return out;
}

} // namespace

std::vector<IniLine> IniLines(QByteArrayView text) {
    const qsizetype mark = text.startsWith(kBom) ? kBom.size() : 0;
    std::vector<IniLine> lines;
    QString section;
    // Each line as the reader takes it, from where it starts reading; the mark stays in place.
    const auto take = [&](QByteArrayView from, const Span& s) {
        IniLine line;
        line.start = std::max(s.start, mark);
        line.end = s.end;
        const QByteArrayView bytes = from.sliced(s.start, s.end - s.start);
        if (bytes.startsWith('[')) {
            line.header = true;
            const qsizetype close = bytes.indexOf(']');
            const QByteArrayView name =
                bytes.first(close < 0 ? bytes.size() : close).sliced(1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.sliced(1)) + u'/';
            else
                section = unescapedKey(name) + u'/';
        } else if (s.equals >= 0) {
            line.entry = section + unescapedKey(bytes.first(s.equals - s.start).trimmed());
        }
        line.section = section;
        return line;
    };
    qsizetype pos = mark;
    while (const auto s = nextLine(text, pos))
        lines.push_back(take(text, *s));
    // Up to 6.4 QSettings finds the sections after a byte order mark but reads the entries before
    // the first one from the start of the file, mark and all: a key there keeps a second mark, or
    // the blanks after the first.
    // The Qt the program runs on decides, not the one it was built with.
    static const bool markReadTwice = QLibraryInfo::version() < QVersionNumber(6, 5);
    if (mark > 0 && markReadTwice) {
        const auto first =
            std::find_if(lines.begin(), lines.end(), [](const IniLine& l) { return l.header; });
        const QByteArrayView head = text.first(first == lines.end() ? text.size() : first->start);
        std::vector<IniLine> general;
        section.clear();
        pos = 0;
        while (const auto s = nextLine(head, pos))
            general.push_back(take(head, *s));
        lines.erase(lines.begin(), first);
        lines.insert(lines.begin(), general.begin(), general.end());
    }
    return lines;
}

QString IniNormalizedKey(const QString& key) {
    return key.split(u'/', Qt::SkipEmptyParts).join(u'/');
}

std::optional<QByteArray> IniMerged(QByteArrayView text, const IniEntries& entries) {
    const auto block = blockOf(entries);
    if (!block)
        return std::nullopt;
    const QString section = block->group + u'/';
    const std::vector<IniLine> lines = IniLines(text);

    // Each entry takes over its last line in the section, where QSettings reads it from.
    std::vector<qsizetype> slot(entries.size(), -1);
    qsizetype last = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].section != section)
            continue;
        last = qsizetype(i);
        if (const qsizetype e = entryIndex(entries, lines[i].entry); e >= 0)
            slot[e] = qsizetype(i);
    }
    std::vector<Edit> edits;
    for (size_t i = 0; i < lines.size(); ++i) {
        const qsizetype e = entryIndex(entries, lines[i].entry);
        if (e >= 0)
            edits.push_back({lines[i].start, lines[i].end - lines[i].start,
                             slot[e] == qsizetype(i) ? block->lines[e] : QByteArray()});
    }
    QByteArray added;
    for (qsizetype e = 0; e < entries.size(); ++e)
        if (slot[e] < 0)
            added += '\n' + block->lines[e];
    if (added.isEmpty())
        return applied(text, std::move(edits));

    if (last < 0) {
        const bool open = !text.isEmpty() && text.back() != '\n' && text.back() != '\r';
        edits.push_back(
            {text.size(), 0, (open ? "\n" : "") + headerOf(block->group) + added + '\n'});
    } else {
        // After the section's last line, and after a comment that shares its line.
        qsizetype at = lines[last].end;
        if (at < text.size() && text[at] == ';')
            while (at < text.size() && text[at] != '\n' && text[at] != '\r')
                ++at;
        edits.push_back({at, 0, at == text.size() ? added + '\n' : added});
    }
    return applied(text, std::move(edits));
}

std::optional<QByteArray> IniPrefixed(QByteArrayView text, const IniEntries& entries) {
    const auto block = blockOf(entries);
    if (!block)
        return std::nullopt;
    const qsizetype skip = text.startsWith(kBom) ? kBom.size() : 0;
    QByteArray head = text.first(skip).toByteArray() + headerOf(block->group);
    for (const QByteArray& line : block->lines)
        head += '\n' + line;
    head += '\n';

    std::vector<Edit> edits{{0, skip, {}}};
    std::optional<bool> firstIsHeader;
    for (const IniLine& line : IniLines(text)) {
        if (entryIndex(entries, line.entry) >= 0)
            edits.push_back({line.start, line.end - line.start, {}});
        else if (!firstIsHeader)
            firstIsHeader = line.header;
    }
    // What stood before the first section stays outside any section.
    if (firstIsHeader == false)
        head += "[General]\n";
    edits.front().with = head;
    return applied(text, std::move(edits));
}

} // namespace toolkit::qt
