// Any bytes as a sound library block. A block that reads must write back exactly the bytes the
// read consumed; one that fails must leave the library empty.
#include "gk/Error.h"
#include "gk/gkslib.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);
    TGKSounds sounds;
    try {
        sounds.ReadData(buffer);
    } catch (const gk::Error &) {
        if (sounds.Count() != 0 || sounds.HasData()) {
            std::fprintf(stderr, "a failed read left %d sounds\n", sounds.Count());
            std::abort();
        }
        return 0;
    }
    if (sounds.ToBlock() != input.left(buffer.pos())) {
        std::fprintf(stderr, "writing back differs from the %lld bytes read\n",
                     static_cast<long long>(buffer.pos()));
        std::abort();
    }
    return 0;
}
