#pragma once

// The display's surfaces as this platform keeps them: 8-bit palette indices in memory, and the
// few operations on them that the display's platform offers (colour fills, copies with or
// without a colour key, the turn of a flip chain), plus the conversion that shows one through
// the palette as 32-bit pixels.

#include "gk/Bitmaps.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace gk {

class PixelSurface {
public:
    // width x height pixels, rows `pitch` bytes apart, all 0. Raises std::bad_alloc when the
    // memory cannot be had.
    PixelSurface(int width, int height, int pitch);

    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    QRect rect() const { return {0, 0, width_, height_}; }
    uint8_t *bits() { return bits_.data(); }
    const uint8_t *bits() const { return bits_.data(); }
    uint8_t *row(int y) { return bits_.data() + std::size_t(pitch_) * std::size_t(y); }
    const uint8_t *row(int y) const { return bits_.data() + std::size_t(pitch_) * std::size_t(y); }

    // The source colour key: copies from this surface that honour it leave these pixels out.
    std::optional<uint8_t> colorKey;

    // A front surface's flip chain: its back buffers, the one drawn on next first. They belong
    // to the front surface and go with it.
    std::vector<std::unique_ptr<PixelSurface>> chain;
    // Shows the first back buffer: each buffer's pixels move one place towards the front, and
    // the front's go to the end of the chain.
    void flipChain();

private:
    int width_;
    int height_;
    int pitch_;
    std::vector<uint8_t> bits_;
};

// Fills `rect` (clipped to the surface) with one palette index.
void FillRect(PixelSurface &surface, const QRect &rect, uint8_t index);

// Copies `sourceRect` of `source` with its top-left corner at `at` of `dest`, as far as it lies
// inside both surfaces and inside `clip` (a rectangle of `dest`). With `keyed` set and a colour
// key on the source, the source's pixels of that index are left out.
void CopyRect(PixelSurface &dest, QPoint at, const PixelSurface &source, const QRect &sourceRect,
              const QRect &clip, bool keyed);

// Copies all of `source` over all of `dest`, which has the same size.
void CopyAll(PixelSurface &dest, const PixelSurface &source);

// The largest rectangle of `source`'s aspect that fits in `area`, centred in it.
QRect FitRect(QSize source, const QRect &area);

// Shows `source` through `colors` in `target`, a 32-bit image (RGB32) of any size: each target
// pixel takes the colour of the source pixel under its centre, so pixels stay sharp at any
// scale.
void PresentScaled(const PixelSurface &source, const ColorTable &colors, QImage &target);

} // namespace gk
