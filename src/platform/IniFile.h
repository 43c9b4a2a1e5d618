#pragma once

// Profile (ini) text apart from any file: finding a value and changing one while every other
// byte of the text stays as it was. Text is 8-bit; names match without regard to ASCII case.

#include <QByteArray>

#include <optional>
#include <vector>

namespace platform {

struct IniLine {
    enum Kind { Blank, Comment, Section, Entry, Other };

    Kind kind = Other;
    qsizetype begin = 0;   // first byte of the line
    qsizetype end = 0;     // the byte after its text, where "\n" or "\r\n" begins
    qsizetype next = 0;    // first byte of the next line
    qsizetype nameEnd = 0; // entry: the byte after its key as spelt
    QByteArray name;       // section or key, trimmed
    QByteArray value;      // entry: trimmed, enclosing quotes removed
};

std::vector<IniLine> ParseIni(const QByteArray &text);

// The value of the first `key` in the first `section`; nothing when either is missing.
std::optional<QByteArray> IniLookup(const QByteArray &text, const QByteArray &section,
                                    const QByteArray &key);

// The text with `key` set to `value`: the first such key of the first such section changed in
// place, else a line added at the end of the section, else a section added at the end. New
// lines end the way the text's first line does.
QByteArray IniWrite(const QByteArray &text, const QByteArray &section, const QByteArray &key,
                    const QByteArray &value);

// ASCII letters without regard to case; other bytes as they are.
bool SameIniName(const QByteArray &a, const QByteArray &b);

} // namespace platform
