#include "gk/Bitmaps.h"

#include "gk/Error.h"

#include <algorithm>
#include <cstring>

namespace gk {

ColorTable FillColorTable(const uint8_t *palette) {
    ColorTable colors{};
    colors[0] = qRgb(0, 0, 0);
    for (int i = 1; i < 256; ++i) {
        const uint8_t *entry = palette + 4 * i;
        colors[std::size_t(i)] = qRgb(entry[0], entry[1], entry[2]);
    }
    return colors;
}

QList<QRgb> MakePalette(const ColorTable &colors) {
    return QList<QRgb>(colors.begin(), colors.end());
}

void MakeBitmap(QImage &target, int32_t width, int32_t height, const uint8_t *bits,
                const ColorTable &colors) {
    target = QImage();
    if (width <= 0 || height <= 0 || bits == nullptr)
        throw Error("CreateDIBitmap failed");
    QImage bitmap(width, height, QImage::Format_Indexed8);
    if (bitmap.isNull())
        throw Error("CreateDIBitmap failed");
    bitmap.setColorTable(MakePalette(colors));
    const int64_t rowBytes = RowBytes(width);
    if (bitmap.bytesPerLine() == rowBytes) {
        std::memcpy(bitmap.bits(), bits, std::size_t(rowBytes * height));
    } else {
        const int64_t copied = std::min<int64_t>(rowBytes, bitmap.bytesPerLine());
        for (int y = 0; y < height; ++y)
            std::memcpy(bitmap.scanLine(y), bits + rowBytes * y, std::size_t(copied));
    }
    target = std::move(bitmap);
}

} // namespace gk
