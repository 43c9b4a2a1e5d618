#include "platform/IniFile.h"

namespace platform {

namespace {

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

QByteArray unquoted(const QByteArray &value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

IniLine classify(const QByteArray &text, qsizetype begin, qsizetype textBegin, qsizetype end,
                 qsizetype next) {
    IniLine line;
    line.begin = begin;
    line.end = end;
    line.next = next;
    qsizetype first = textBegin;
    while (first < end && isBlank(text[first]))
        ++first;
    qsizetype last = end;
    while (last > first && isBlank(text[last - 1]))
        --last;
    if (first == last) {
        line.kind = IniLine::Blank;
        return line;
    }
    const QByteArray content = text.mid(first, last - first);
    if (content.startsWith(';') || content.startsWith('#')) {
        line.kind = IniLine::Comment;
    } else if (content.startsWith('[')) {
        const qsizetype close = content.lastIndexOf(']');
        if (close > 0) {
            line.kind = IniLine::Section;
            line.name = content.mid(1, close - 1).trimmed();
        }
    } else if (const qsizetype equals = content.indexOf('='); equals > 0) {
        qsizetype nameEnd = equals;
        while (nameEnd > 0 && isBlank(content[nameEnd - 1]))
            --nameEnd;
        line.kind = IniLine::Entry;
        line.name = content.left(nameEnd);
        line.nameEnd = first + nameEnd;
        line.value = unquoted(content.mid(equals + 1).trimmed());
    }
    return line;
}

// The first section of that name, and the index after its last line.
std::optional<std::pair<size_t, size_t>> findSection(const std::vector<IniLine> &lines,
                                                     const QByteArray &section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != IniLine::Section || !SameIniName(lines[i].name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != IniLine::Section)
            ++end;
        return std::pair{i, end};
    }
    return std::nullopt;
}

} // namespace

bool SameIniName(const QByteArray &a, const QByteArray &b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    return true;
}

std::vector<IniLine> ParseIni(const QByteArray &text) {
    std::vector<IniLine> lines;
    qsizetype pos = 0;
    // A byte order mark that an editor put in front of the first section's name.
    const qsizetype textBegin = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < text.size()) {
        const qsizetype newline = text.indexOf('\n', pos);
        const qsizetype lineEnd = newline < 0 ? text.size() : newline;
        const qsizetype next = newline < 0 ? text.size() : newline + 1;
        const qsizetype end =
            newline >= 0 && lineEnd > pos && text[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
        lines.push_back(classify(text, pos, pos == 0 ? textBegin : pos, end, next));
        pos = next;
    }
    return lines;
}

std::optional<QByteArray> IniLookup(const QByteArray &text, const QByteArray &section,
                                    const QByteArray &key) {
    const std::vector<IniLine> lines = ParseIni(text);
    const auto found = findSection(lines, section);
    if (!found)
        return std::nullopt;
    for (size_t i = found->first + 1; i < found->second; ++i)
        if (lines[i].kind == IniLine::Entry && SameIniName(lines[i].name, key))
            return lines[i].value;
    return std::nullopt;
}

QByteArray IniWrite(const QByteArray &text, const QByteArray &section, const QByteArray &key,
                    const QByteArray &value) {
    const qsizetype firstNewline = text.indexOf('\n');
    const QByteArray eol =
        firstNewline > 0 && text[firstNewline - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
    const std::vector<IniLine> lines = ParseIni(text);
    QByteArray result = text;

    const auto found = findSection(lines, section);
    if (!found) {
        if (!result.isEmpty() && !result.endsWith('\n'))
            result.append(eol);
        if (!lines.empty() && lines.back().kind != IniLine::Blank)
            result.append(eol);
        return result.append('[')
            .append(section)
            .append(']')
            .append(eol)
            .append(key)
            .append('=')
            .append(value)
            .append(eol);
    }

    const auto [header, end] = *found;
    for (size_t i = header + 1; i < end; ++i) {
        const IniLine &line = lines[i];
        if (line.kind == IniLine::Entry && SameIniName(line.name, key))
            return result.replace(line.nameEnd, line.end - line.nameEnd, "=" + value);
    }
    size_t last = end - 1;
    while (last > header && lines[last].kind == IniLine::Blank)
        --last;
    const IniLine &after = lines[last];
    QByteArray entry = key + '=' + value + eol;
    if (after.next == after.end)
        entry.prepend(eol);
    return result.insert(after.next, entry);
}

} // namespace platform
