#include "platform/CodePage.h"

#include <array>

namespace platform::Windows1252 {

namespace {

// The characters of bytes 0x80 to 0x9F; the undefined ones keep their own number.
constexpr std::array<char16_t, 32> HighControls{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char Missing = '?';

char encodeOne(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return char(0x80 + i);
    }
    return Missing;
}

} // namespace

QByteArray Encode(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A pair of surrogates is one character, and one the code page lacks.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(c.isSurrogate() ? Missing : encodeOne(c.unicode()));
    }
    return bytes;
}

QString Decode(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = uint8_t(byte);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(HighControls[b - 0x80]) : QChar(char16_t(b)));
    }
    return text;
}

} // namespace platform::Windows1252
