#pragma once

// Pictures turned into the palette indices of an image library: either indexed pictures that
// share one palette, taken as it is, or pictures of any kind reduced together to one palette.

#include <QImage>
#include <QString>

#include <array>
#include <vector>

namespace gkpack {

struct SourcePicture {
    QString file; // for messages
    QImage image;
};

// One palette of 256 colours (the alpha of each entry is not kept by a library, except that
// entry 0 is the see-through colour) and every picture's pixels as a library holds them: rows
// of RowBytes(width) bytes, the filler bytes 0.
struct PalettePictures {
    std::array<QRgb, 256> palette{};
    std::vector<QByteArray> bits;
};

// Whether every picture is an indexed one, so that its palette can be taken as it is.
bool AllIndexed(const std::vector<SourcePicture> &pictures);

// The pictures' own indices and their common palette. Palettes are shared when they agree
// wherever both have an entry (PNG writers drop unused entries at the end); otherwise
// gk::Error names the two files and the first entry that differs.
PalettePictures SharedPalette(const std::vector<SourcePicture> &pictures);

// All pictures reduced together to one palette: entry 0 is transparent black, taken by every
// pixel that is less than half opaque; the opaque colours (black among them) take entries 1
// to `colors` (at most 255), exactly when there are at most that many of them, else as the
// median cut of all the pictures' pixels chooses them, each pixel taking the nearest. The
// entries after them stay black and unused, for colours of the program's own.
PalettePictures ReduceColors(const std::vector<SourcePicture> &pictures, int colors = 255);

} // namespace gkpack
