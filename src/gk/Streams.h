#pragma once

// What the library formats share at their streams: the messages of a failed read or write,
// the signature test, the opening of a library file, and a library's block as a property.

#include <QBuffer>
#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

class QFile;
class QIODevice;
class QString;

namespace gk {

// The stream's own error for a read that the stream cannot satisfy, whatever the format.
inline constexpr const char *StreamReadError = "Stream read error";

// Writes all of `bytes` or raises gk::Error("Stream write error").
void WriteAll(QIODevice &stream, QByteArrayView bytes);

// Whether the four bytes are the signature `expected` without regard to letter case: only the
// ASCII letters fold, and a zero byte among the four is a mismatch.
bool SignatureMatches(const uint8_t *bytes, const char (&expected)[5]);

// Opens the named file for reading, its name matched without regard to letter case; raises
// gk::Error naming the file and the reason when it cannot be opened.
void OpenForReading(QFile &file, const QString &name);
// The same for a path spelt exactly, as a tool's command line gives it.
void OpenExactlyForReading(QFile &file, const QString &path);

// A library's block as a window stores it: what WriteData writes, and ReadData over a block.
template <typename Library> QByteArray BlockOf(const Library &library) {
    QByteArray block;
    QBuffer buffer(&block);
    buffer.open(QIODevice::WriteOnly);
    library.WriteData(buffer);
    return block;
}

template <typename Library> void ReadBlock(Library &library, const QByteArray &block) {
    QBuffer buffer;
    buffer.setData(block);
    // Unbuffered: the block is in memory already, and a device buffer would copy it twice.
    buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    library.ReadData(buffer);
}

} // namespace gk
