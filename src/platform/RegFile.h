#pragma once

// The registry's file format apart from any file: REGEDIT4 text to a tree of keys and values
// and back. Text is 8-bit; names and strings are their Latin-1 reading, so every byte survives.

#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

// Comment lines (";" and what follows) are kept with what they stand above, so a file that a
// person annotated keeps its notes when the program writes it.
struct RegValue {
    QString name; // empty: the key's default value
    uint32_t type = REG_NONE;
    QByteArray data;
    QList<QByteArray> comments; // the comment lines above the value

    bool operator==(const RegValue &) const = default;
};

struct RegSection {
    RegRoot root = RegRoot::CurrentUser;
    QString path; // levels joined by single backslashes, no leading or trailing one
    std::vector<RegValue> values;
    QList<QByteArray> comments; // the comment lines above the key's name

    RegValue *findValue(const QString &name);
    const RegValue *findValue(const QString &name) const;

    bool operator==(const RegSection &) const = default;
};

// Keys in the order they were created. A key's parents exist without sections of their own.
struct RegTree {
    std::vector<RegSection> sections;
    QList<QByteArray> trailingComments; // after the last value

    RegSection *findSection(RegRoot root, const QString &path);
    const RegSection *findSection(RegRoot root, const QString &path) const;
    bool hasKey(RegRoot root, const QString &path) const;
    RegSection &section(RegRoot root, const QString &path); // found or appended
    // Later values of a name replace earlier ones, as an import of the file would.
    void setValue(RegSection &section, RegValue value);

    bool operator==(const RegTree &) const = default;
};

struct ParsedRegFile {
    RegTree tree;         // all that could be read, also from a damaged file
    QStringList problems; // "line N: what is wrong"; empty for a sound file

    bool damaged() const { return !problems.isEmpty(); }
};

ParsedRegFile ParseRegFile(const QByteArray &text);
QByteArray SerializeRegFile(const RegTree &tree);

// "\A\\B\" and "A\B" name the same key.
QString NormalizeKeyPath(const QString &path);
bool SameName(const QString &a, const QString &b); // ASCII letters without regard to case
// Strings keep exactly one closing zero byte, however many they were given.
QByteArray NormalizeValueData(uint32_t type, QByteArray data);

} // namespace platform
