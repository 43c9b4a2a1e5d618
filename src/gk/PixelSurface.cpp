#include "gk/PixelSurface.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace gk {

PixelSurface::PixelSurface(int width, int height, int pitch)
    : width_(width), height_(height), pitch_(pitch) {
    if (width <= 0 || height <= 0 || pitch < width)
        throw std::bad_alloc();
    bits_.assign(std::size_t(pitch) * std::size_t(height), 0);
}

void PixelSurface::flipChain() {
    // Swapping the blocks turns the chain without copying a pixel.
    PixelSurface *previous = this;
    for (const auto &buffer : chain) {
        std::swap(previous->bits_, buffer->bits_);
        previous = buffer.get();
    }
}

void FillRect(PixelSurface &surface, const QRect &rect, uint8_t index) {
    const QRect area = rect.intersected(surface.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memset(surface.row(y) + area.left(), index, std::size_t(area.width()));
}

void CopyRect(PixelSurface &dest, QPoint at, const PixelSurface &source, const QRect &sourceRect,
              const QRect &clip, bool keyed) {
    const QRect from = sourceRect.intersected(source.rect());
    // Where the readable part of the source lands, cut to what may be written.
    const QRect to =
        from.translated(at - sourceRect.topLeft()).intersected(clip).intersected(dest.rect());
    if (to.isEmpty())
        return;
    const QPoint offset = sourceRect.topLeft() - at;
    const bool useKey = keyed && source.colorKey.has_value();
    const uint8_t key = source.colorKey.value_or(0);
    // Within one surface, a copy downwards runs from the bottom row up so that it reads no row
    // it has already written.
    const bool upwards = &dest == &source && offset.y() < 0;
    for (int i = 0; i < to.height(); ++i) {
        const int y = upwards ? to.bottom() - i : to.top() + i;
        const uint8_t *in = source.row(y + offset.y()) + to.left() + offset.x();
        uint8_t *out = dest.row(y) + to.left();
        if (!useKey) {
            std::memmove(out, in, std::size_t(to.width()));
            continue;
        }
        for (int x = 0; x < to.width(); ++x)
            if (in[x] != key)
                out[x] = in[x];
    }
}

void CopyAll(PixelSurface &dest, const PixelSurface &source) {
    CopyRect(dest, QPoint(0, 0), source, source.rect(), dest.rect(), false);
}

QRect FitRect(QSize source, const QRect &area) {
    if (source.isEmpty() || area.isEmpty())
        return {};
    const int64_t sw = source.width();
    const int64_t sh = source.height();
    int64_t width = area.width();
    int64_t height = area.height();
    if (width * sh <= height * sw)
        height = width * sh / sw;
    else
        width = height * sw / sh;
    return {area.left() + int((area.width() - width) / 2),
            area.top() + int((area.height() - height) / 2), int(width), int(height)};
}

void PresentScaled(const PixelSurface &source, const ColorTable &colors, QImage &target) {
    const int width = target.width();
    const int height = target.height();
    if (width <= 0 || height <= 0)
        return;
    const int sw = source.width();
    const int sh = source.height();
    // The source column under the centre of each target column.
    std::vector<int> columns(std::size_t(width), 0);
    for (int x = 0; x < width; ++x)
        columns[std::size_t(x)] = int((2 * int64_t(x) + 1) * sw / (2 * int64_t(width)));

    int shownRow = -1;
    const QRgb *shown = nullptr;
    for (int y = 0; y < height; ++y) {
        const int sy = int((2 * int64_t(y) + 1) * sh / (2 * int64_t(height)));
        auto *line = reinterpret_cast<QRgb *>(target.scanLine(y));
        if (sy == shownRow) {
            // Enlarged: the rows below repeat the one just made.
            std::memcpy(line, shown, std::size_t(width) * sizeof(QRgb));
            continue;
        }
        const uint8_t *in = source.row(sy);
        if (width == sw) {
            for (int x = 0; x < width; ++x)
                line[x] = colors[in[x]];
        } else {
            for (int x = 0; x < width; ++x)
                line[x] = colors[in[columns[std::size_t(x)]]];
        }
        shownRow = sy;
        shown = line;
    }
}

} // namespace gk
