#pragma once

// What the library readers' fuzz targets share: the input as a stream, read into a library.

#include "gk/Error.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fail(const char *what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Reads the input into `library`; the number of bytes the read consumed, or -1 when it failed.
template <typename Library>
qint64 readInput(Library &library, const uint8_t *data, size_t size, QByteArray &input) {
    input = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);
    try {
        library.ReadData(buffer);
    } catch (const gk::Error &) {
        return -1;
    }
    return buffer.pos();
}
