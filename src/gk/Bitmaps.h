#pragma once

// The platform's bitmaps for the pictures of an image library: 8-bit indexed images whose
// rows run top-down, RowBytes(width) bytes apart, coloured through a 256-entry table whose
// entry 0 is always black.

#include <QImage>
#include <QList>

#include <array>
#include <cstdint>

namespace gk {

// Bytes in one row of 8-bit pixels: the width rounded up to a multiple of 4. Widths up to
// 2^31 - 1 give no overflow.
constexpr int64_t RowBytes(int64_t width) {
    return ((width * 8 + 31) / 32) * 4;
}

using ColorTable = std::array<QRgb, 256>;

// The colour table of a library palette (256 entries of red, green, blue and an ignored
// fourth byte): entries 1 to 255 take the palette's colours, entry 0 is black whatever the
// palette holds there, so that the see-through colour never shows as anything else.
ColorTable FillColorTable(const uint8_t *palette);

// The bitmap's own palette made from a colour table: 256 opaque colours, as an indexed image
// of the platform holds them.
QList<QRgb> MakePalette(const ColorTable &colors);

// Replaces `target` (its pixels and palette) with a bitmap of width x height pixels made from
// `bits`: height rows of RowBytes(width) bytes, top row first, filler bytes included.
// Raises gk::Error("CreateDIBitmap failed") when no such bitmap can be made.
void MakeBitmap(QImage &target, int32_t width, int32_t height, const uint8_t *bits,
                const ColorTable &colors);

} // namespace gk
