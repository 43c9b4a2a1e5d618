#pragma once

// The 8-bit text of the program's files: Windows code page 1252, the "ANSI" code page of
// Western Europe and the Americas. Latin-1 but for 0x80 to 0x9F, where it places the euro
// sign, typographic quotes and dashes and a few letters.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform::Windows1252 {

// One byte a character. A character the code page lacks becomes "?", one for each character
// (a character outside the Basic Multilingual Plane included), so the byte count is the
// character count.
QByteArray Encode(QStringView text);

// Every byte has a character. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same number, as Windows reads them, so
// that any file reads and writes back unchanged.
QString Decode(QByteArrayView bytes);

} // namespace platform::Windows1252
