// Any bytes as a map library block. A block that reads must write back the bytes the read
// consumed, but with the signature "ML01" and every map's reserved bytes 0 (and as the 8 bytes
// of an empty library when HighIndex was negative); one that fails must leave it empty. A copy
// writes the same, but with each name taken up to its 15 characters: the length byte at most
// 15 and the character bytes after the name 0.
#include "LibraryFuzz.h"
#include "gk/GKMap.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TGKMaps maps;
    QByteArray input;
    const qint64 consumed = readInput(maps, data, size, input);
    if (consumed < 0) {
        if (maps.HighIndex() != -1 || maps.HasData())
            fail("a failed read left maps");
        return 0;
    }
    QByteArray expected = input.left(consumed);
    QByteArray copied;
    if (maps.HighIndex() < 0) {
        expected = QByteArray("ML01\xff\xff\xff\xff", 8);
        copied = expected;
    } else {
        expected.replace(0, 4, "ML01");
        copied = expected;
        qsizetype at = 8;
        for (int i = 0; i <= maps.HighIndex(); ++i) {
            expected.replace(at + 28, 4, QByteArray(4, '\0'));
            copied.replace(at + 28, 4, QByteArray(4, '\0'));
            const int length = std::min<int>(uint8_t(copied[at]), 15);
            copied[at] = char(length);
            copied.replace(at + 1 + length, 15 - length, QByteArray(15 - length, '\0'));
            at += 32 + maps.GetEntry(i).Size();
        }
    }
    const QByteArray written = maps.ToBlock();
    if (written != expected)
        fail("writing back differs from the bytes read");
    if (TGKMaps(maps).ToBlock() != copied)
        fail("a copy differs from its source but for the names taken up to 15 characters");
    return 0;
}
