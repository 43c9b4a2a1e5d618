#pragma once

// Reading library blocks in tests, through a buffer that knows its length or a pipe that
// does not: readers must work the same from both.

#include "gk/Error.h"
#include "support/Pipe.h"

#include <QBuffer>

#include <functional>
#include <string>

// The message of the gk::Error that `action` raises, or "" when it raises none.
inline std::string errorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const gk::Error &e) {
        return e.what();
    }
    return "";
}

struct LibraryRead {
    std::string error; // "" when the read succeeded
    qint64 consumed;   // how far the reader went
};

// Runs the library's ReadData over `bytes`, from a buffer or, when `sequential`, a pipe.
template <typename Library>
LibraryRead readInto(Library &library, const QByteArray &bytes, bool sequential) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    Pipe pipe(bytes);
    QIODevice &device = sequential ? static_cast<QIODevice &>(pipe) : buffer;
    const std::string error = errorOf([&] { library.ReadData(device); });
    return {error, sequential ? pipe.consumed() : buffer.pos()};
}
