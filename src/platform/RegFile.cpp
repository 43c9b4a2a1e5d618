#include "platform/RegFile.h"

#include "platform/Bytes.h"

#include <QHash>

#include <optional>
#include <utility>

namespace platform {

namespace {

constexpr char Header[] = "REGEDIT4";

QByteArray rootName(RegRoot root) {
    return root == RegRoot::CurrentUser ? QByteArrayLiteral("HKEY_CURRENT_USER")
                                        : QByteArrayLiteral("HKEY_CLASSES_ROOT");
}

std::optional<RegRoot> rootFromName(const QByteArray &name) {
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::ClassesRoot})
        if (name.compare(rootName(root), Qt::CaseInsensitive) == 0)
            return root;
    return std::nullopt;
}

bool startsWithNoCase(const QByteArray &text, qsizetype pos, const char *prefix) {
    return text.mid(pos, qsizetype(qstrlen(prefix))).compare(prefix, Qt::CaseInsensitive) == 0;
}

// A quoted name or string from `line` at `pos`; REGEDIT4 escapes only '\' and '"'.
std::optional<QByteArray> parseQuoted(const QByteArray &line, qsizetype &pos) {
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    QByteArray text;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return text;
        }
        if (c == '\\') {
            if (pos + 1 >= line.size() || (line[pos + 1] != '\\' && line[pos + 1] != '"'))
                return std::nullopt;
            text.append(line[++pos]);
            continue;
        }
        text.append(c);
    }
    return std::nullopt;
}

std::optional<QByteArray> parseByteList(const QByteArray &list) {
    if (list.trimmed().isEmpty())
        return QByteArray();
    ByteWriter bytes;
    for (const QByteArray &token : list.split(',')) {
        const auto value = ParseHex(token.trimmed(), 2);
        if (!value)
            return std::nullopt;
        bytes.u8(uint8_t(*value));
    }
    return bytes.take();
}

QByteArray quoted(const QByteArray &text) {
    QByteArray out;
    out.reserve(text.size() + 2);
    out.append('"');
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.append('\\');
        out.append(c);
    }
    out.append('"');
    return out;
}

// Wrapped the way the registry editor wraps, so long values stay readable in an editor.
QByteArray hexLine(QByteArray line, const QByteArray &bytes) {
    QByteArray out;
    static constexpr char Digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = uint8_t(bytes[i]);
        line.append(Digits[byte >> 4]).append(Digits[byte & 15]);
        if (i + 1 == bytes.size())
            break;
        line.append(',');
        if (line.size() > 73) {
            out.append(line).append("\\\n");
            line = "  ";
        }
    }
    return out.append(line);
}

QByteArray serializedValue(const RegValue &value) {
    QByteArray line = value.name.isEmpty() ? QByteArray("@") : quoted(value.name.toLatin1());
    line.append('=');
    const QByteArray &data = value.data;
    if (value.type == REG_SZ && data.endsWith('\0')) {
        const QByteArray text = data.chopped(1);
        // A string that would break the line or end early goes as bytes, which REGEDIT4 allows.
        if (!text.contains('\0') && !text.contains('\n') && !text.contains('\r'))
            return line.append(quoted(text));
    }
    if (value.type == REG_DWORD && data.size() == 4) {
        const uint32_t number = ByteReader(data).u32();
        return line.append("dword:").append(QByteArray::number(number, 16).rightJustified(8, '0'));
    }
    if (value.type == REG_BINARY)
        return hexLine(line.append("hex:"), data);
    return hexLine(line.append("hex(").append(QByteArray::number(value.type, 16)).append("):"),
                   data);
}

char16_t foldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

QString folded(QString name) {
    for (qsizetype i = 0; i < name.size(); ++i)
        name[i] = QChar(foldCase(name[i].unicode()));
    return name;
}

struct Parser {
    QList<QByteArray> lines;
    qsizetype index = 0;
    ParsedRegFile result;
    // Where each section's values are, by folded name: a long key stays quick to read.
    QHash<std::pair<qsizetype, QString>, qsizetype> valueIndex;
    // Comment lines waiting for the key or value below them.
    QList<QByteArray> comments;

    void problem(const QString &what, qsizetype line = -1) {
        result.problems.append(
            QStringLiteral("line %1: %2").arg((line < 0 ? index : line) + 1).arg(what));
    }

    // The data after "name"=, with continuation lines of a hex list joined.
    std::optional<RegValue> valueData(const QByteArray &line, qsizetype pos) {
        RegValue value;
        if (pos < line.size() && line[pos] == '"') {
            auto text = parseQuoted(line, pos);
            if (!text || pos != line.size())
                return std::nullopt;
            value.type = REG_SZ;
            value.data = text->append('\0');
            return value;
        }
        if (startsWithNoCase(line, pos, "dword:")) {
            const auto number = ParseHex(line.mid(pos + 6), 8);
            if (!number)
                return std::nullopt;
            value.type = REG_DWORD;
            ByteWriter dword(4);
            dword.u32(uint32_t(*number));
            value.data = dword.take();
            return value;
        }
        if (!startsWithNoCase(line, pos, "hex"))
            return std::nullopt;
        pos += 3;
        value.type = REG_BINARY;
        if (pos < line.size() && line[pos] == '(') {
            const qsizetype close = line.indexOf(')', pos);
            const auto type =
                close < 0 ? std::nullopt : ParseHex(line.mid(pos + 1, close - pos - 1), 8);
            if (!type)
                return std::nullopt;
            value.type = uint32_t(*type);
            pos = close + 1;
        }
        if (pos >= line.size() || line[pos] != ':')
            return std::nullopt;
        QByteArray list = line.mid(pos + 1);
        while (list.endsWith('\\')) {
            list.chop(1);
            if (++index >= lines.size())
                return std::nullopt;
            list.append(lines[index].trimmed());
        }
        auto bytes = parseByteList(list);
        if (!bytes)
            return std::nullopt;
        value.data = *bytes;
        return value;
    }

    void valueLine(const QByteArray &line, qsizetype section) {
        qsizetype pos = 0;
        QByteArray name;
        if (line.startsWith('@')) {
            pos = 1;
        } else {
            auto quotedName = parseQuoted(line, pos);
            if (!quotedName)
                return problem(QStringLiteral("not a value, a key or a comment"));
            name = *quotedName;
        }
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= line.size() || line[pos] != '=')
            return problem(QStringLiteral("a value's name without '='"));
        ++pos;
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        const qsizetype start = index;
        auto value = valueData(line, pos);
        if (!value)
            return problem(QStringLiteral("the data of \"%1\" is not understood")
                               .arg(QString::fromLatin1(name)),
                           start);
        if (section < 0)
            return problem(QStringLiteral("a value outside a key"), start);
        value->name = QString::fromLatin1(name);
        value->data = NormalizeValueData(value->type, value->data);
        // Later values of a name replace earlier ones, as an import of the file would.
        std::vector<RegValue> &values = result.tree.sections[size_t(section)].values;
        const std::pair key{section, folded(value->name)};
        if (const auto found = valueIndex.constFind(key); found != valueIndex.constEnd()) {
            RegValue &earlier = values[size_t(*found)];
            earlier.type = value->type;
            earlier.data = std::move(value->data);
            earlier.comments += std::exchange(comments, {});
        } else {
            valueIndex.insert(key, qsizetype(values.size()));
            value->comments = std::exchange(comments, {});
            values.push_back(std::move(*value));
        }
    }

    void run() {
        bool sawHeader = !lines.isEmpty() && lines.front().trimmed() == Header;
        if (!sawHeader)
            problem(QStringLiteral("the first line is not %1").arg(QLatin1String(Header)));
        // Indices, not pointers: new sections move the others.
        qsizetype current = -1;
        for (index = sawHeader ? 1 : 0; index < lines.size(); ++index) {
            const QByteArray line = lines[index].trimmed();
            if (line.isEmpty())
                continue;
            if (line.startsWith(';')) {
                comments.append(line);
                continue;
            }
            if (line.startsWith('[')) {
                current = -1;
                if (!line.endsWith(']') || line.size() < 2) {
                    problem(QStringLiteral("a key's name without ']'"));
                    continue;
                }
                const QByteArray inner = line.mid(1, line.size() - 2);
                const qsizetype slash = inner.indexOf('\\');
                const auto root = rootFromName(slash < 0 ? inner : inner.left(slash));
                if (!root) {
                    problem(QStringLiteral("a key outside HKEY_CURRENT_USER and "
                                           "HKEY_CLASSES_ROOT"));
                    continue;
                }
                const QString path = NormalizeKeyPath(
                    slash < 0 ? QString() : QString::fromLatin1(inner.mid(slash + 1)));
                RegSection &section = result.tree.section(*root, path);
                section.comments += std::exchange(comments, {});
                current = &section - result.tree.sections.data();
                continue;
            }
            valueLine(line, current);
        }
        result.tree.trailingComments = std::exchange(comments, {});
    }
};

} // namespace

bool SameName(const QString &a, const QString &b) {
    if (a.size() != b.size())
        return false;
    const QChar *x = a.constData();
    const QChar *y = b.constData();
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldCase(x[i].unicode()) != foldCase(y[i].unicode()))
            return false;
    return true;
}

QString NormalizeKeyPath(const QString &path) {
    return path.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

QByteArray NormalizeValueData(uint32_t type, QByteArray data) {
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return data;
    while (data.endsWith('\0'))
        data.chop(1);
    return data.append('\0');
}

RegValue *RegSection::findValue(const QString &name) {
    for (RegValue &value : values)
        if (SameName(value.name, name))
            return &value;
    return nullptr;
}

const RegValue *RegSection::findValue(const QString &name) const {
    return const_cast<RegSection *>(this)->findValue(name);
}

RegSection *RegTree::findSection(RegRoot root, const QString &path) {
    for (RegSection &section : sections)
        if (section.root == root && SameName(section.path, path))
            return &section;
    return nullptr;
}

const RegSection *RegTree::findSection(RegRoot root, const QString &path) const {
    return const_cast<RegTree *>(this)->findSection(root, path);
}

bool RegTree::hasKey(RegRoot root, const QString &path) const {
    if (path.isEmpty())
        return true;
    for (const RegSection &section : sections) {
        if (section.root != root || section.path.size() < path.size())
            continue;
        if (section.path.size() > path.size() && section.path[path.size()] != u'\\')
            continue;
        if (SameName(section.path.left(path.size()), path))
            return true;
    }
    return false;
}

RegSection &RegTree::section(RegRoot root, const QString &path) {
    if (RegSection *found = findSection(root, path))
        return *found;
    sections.push_back(RegSection{root, path, {}, {}});
    return sections.back();
}

void RegTree::setValue(RegSection &section, RegValue value) {
    if (RegValue *old = section.findValue(value.name)) {
        old->type = value.type;
        old->data = std::move(value.data);
    } else {
        section.values.push_back(std::move(value));
    }
}

ParsedRegFile ParseRegFile(const QByteArray &text) {
    Parser parser;
    // Nothing written yet, or emptied by hand: nothing there to keep.
    if (text.trimmed().isEmpty())
        return parser.result;
    parser.lines = text.split('\n');
    parser.run();
    return parser.result;
}

QByteArray SerializeRegFile(const RegTree &tree) {
    const auto appendLines = [](QByteArray &out, const QList<QByteArray> &lines) {
        for (const QByteArray &line : lines)
            out.append(line).append('\n');
    };
    QByteArray out = QByteArray(Header) + "\n\n";
    for (const RegSection &section : tree.sections) {
        appendLines(out, section.comments);
        out.append('[').append(rootName(section.root));
        if (!section.path.isEmpty())
            out.append('\\').append(section.path.toLatin1());
        out.append("]\n");
        for (const RegValue &value : section.values) {
            appendLines(out, value.comments);
            out.append(serializedValue(value)).append('\n');
        }
        out.append('\n');
    }
    appendLines(out, tree.trailingComments);
    return out;
}

} // namespace platform
