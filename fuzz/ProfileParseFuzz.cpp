// Any bytes as a profile file, with a section, key and value to write into it. Input:
// "section\nkey\nvalue\n" followed by the file's text. A write must read back as it would
// from a file holding nothing else, change nothing twice, and leave every other line as it was.
#include "platform/IniFile.h"

#include <QList>

#include <cstdio>
#include <cstdlib>

using namespace platform;

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &before, const QByteArray &after) {
    std::fprintf(stderr, "%s\n--- before ---\n%s\n--- after ---\n%s\n", what, before.constData(),
                 after.constData());
    std::abort();
}

// What the profile calls accept and can find again.
bool writable(const QByteArray &section, const QByteArray &key, const QByteArray &value) {
    for (const QByteArray &text : {section, key, value})
        if (text.contains('\n') || text.contains('\r'))
            return false;
    return !key.isEmpty() && !key.contains('=') && !key.startsWith('[') && !key.startsWith(';') &&
           !key.startsWith('#');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray section = "Game";
    QByteArray key = "Speed";
    QByteArray value = "14";
    QByteArray text = input;
    if (const QList<QByteArray> parts = input.split('\n'); parts.size() > 3) {
        section = parts[0].trimmed();
        key = parts[1].trimmed();
        value = parts[2];
        text = input.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3);
    }

    (void)IniLookup(text, section, key);
    if (!writable(section, key, value))
        return 0;

    const QByteArray written = IniWrite(text, section, key, value);
    const QByteArray alone = "[" + section + "]\n" + key + "=" + value + "\n";
    if (IniLookup(written, section, key) != IniLookup(alone, section, key))
        fail("the value does not read back", text, written);
    if (IniWrite(written, section, key, value) != written)
        fail("writing the same value again changed the file", text, written);

    // Between the common start and the common end, only part of one line may have gone.
    qsizetype prefix = 0;
    while (prefix < text.size() && prefix < written.size() && text[prefix] == written[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < text.size() - prefix && suffix < written.size() - prefix &&
           text[text.size() - 1 - suffix] == written[written.size() - 1 - suffix])
        ++suffix;
    if (text.mid(prefix, text.size() - prefix - suffix).contains('\n'))
        fail("a line other than the one written changed", text, written);
    return 0;
}
