#include "gk/Streams.h"

#include "gk/Error.h"
#include "platform/Files.h"

#include <QFile>

namespace gk {

void WriteAll(QIODevice &stream, QByteArrayView bytes) {
    if (stream.write(bytes.data(), bytes.size()) != bytes.size())
        throw Error("Stream write error");
}

bool SignatureMatches(const uint8_t *bytes, const char (&expected)[5]) {
    for (int i = 0; i < 4; ++i) {
        uint8_t c = bytes[i];
        if (c == 0)
            return false;
        if (c >= 'a' && c <= 'z')
            c = uint8_t(c - 'a' + 'A');
        if (c != uint8_t(expected[i]))
            return false;
    }
    return true;
}

namespace {

// The message names the file as the caller did, whatever spelling was found on the disk.
void open(QFile &file, const QString &path, const QString &name) {
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error("Cannot open file \"" + name.toStdString() + "\". " +
                    file.errorString().toStdString());
}

} // namespace

void OpenForReading(QFile &file, const QString &name) {
    // Resources of the program (":/...") are named exactly; files on the disk may not be.
    open(file, name.startsWith(':') ? name : platform::Files::Resolve(name), name);
}

void OpenExactlyForReading(QFile &file, const QString &path) {
    open(file, path, path);
}

} // namespace gk
