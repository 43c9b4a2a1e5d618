// Any bytes as an image library block. A block that reads must write back exactly the bytes the
// read consumed, copy to an equal library and give every small picture a bitmap of its pixels;
// one that fails must leave the library as new.
#include "LibraryFuzz.h"
#include "gk/Bitmaps.h"
#include "gk/GKILib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TGKImages images;
    QByteArray input;
    const qint64 consumed = readInput(images, data, size, input);
    if (consumed < 0) {
        if (images.Count() != 0 || images.HasData() ||
            images.LibraryHeader() != TGKImages::Header{})
            fail("a failed read left pictures or a header");
        return 0;
    }
    const QByteArray written = images.ToBlock();
    if (written != input.left(consumed))
        fail("writing back differs from the bytes read");
    if (TGKImages(images).ToBlock() != written)
        fail("a copy differs from its source");

    const gk::ColorTable colors = gk::FillColorTable(images.Palette());
    for (int i = 0; i < images.Count(); ++i) {
        const TGKImageEntry entry = images.GetEntry(i);
        if (entry.BitsSize() > (1 << 16))
            continue;
        QImage bitmap;
        gk::MakeBitmap(bitmap, entry.Width(), entry.Height(), entry.Bits, colors);
        const int x = entry.Width() - 1, y = entry.Height() - 1;
        if (bitmap.size() != QSize(entry.Width(), entry.Height()) ||
            bitmap.pixelIndex(x, y) != entry.Pixel(x, y) || bitmap.color(0) != qRgb(0, 0, 0))
            fail("a bitmap differs from its picture");
    }
    return 0;
}
