// Any bytes as a settings file: the parser must not fail, and whatever it read, even from a
// damaged file, must write out as a sound file that reads back as the same keys and values.
#include "platform/RegFile.h"

#include <cstdio>
#include <cstdlib>

using namespace platform;

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &text) {
    std::fprintf(stderr, "%s\n--- written text ---\n%s\n", what, text.constData());
    std::abort();
}

// The store folds ASCII letters only; Latin-1's others keep their case.
QString asciiCase(QString text, bool upper) {
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (upper && u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - 32));
        else if (!upper && u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + 32));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const ParsedRegFile parsed = ParseRegFile(input);

    const QByteArray text = SerializeRegFile(parsed.tree);
    const ParsedRegFile again = ParseRegFile(text);
    if (again.damaged())
        fail(qPrintable("the written file does not parse: " + again.problems.first()), text);
    if (!(again.tree == parsed.tree))
        fail("the written file reads back differently", text);
    if (SerializeRegFile(again.tree) != text)
        fail("writing is not stable", text);

    for (const RegSection &section : parsed.tree.sections) {
        if (!parsed.tree.hasKey(section.root, asciiCase(section.path, true)))
            fail("a key is not found in upper case", text);
        for (const RegValue &value : section.values)
            if (section.findValue(asciiCase(value.name, false)) != &value)
                fail("a value is not found in lower case", text);
    }
    return 0;
}
