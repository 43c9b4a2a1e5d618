// The markers of the high score table's rows: a small arrow pointing right at the entry, cyan
// for every row and red for the entry just made. Both are drawn from one shape, so they differ
// only in colour.
#include "Artwork.h"
#include "PixelArt.h"

namespace makeart {

namespace {

constexpr int ArrowSize = 16;

QImage drawArrow(const Ramp &colours) {
    QImage arrow = emptyFrame(ArrowSize, ArrowSize);
    Mask shape(ArrowSize, ArrowSize);
    // A shaft through the middle rows and a head whose point reaches the right edge's outline.
    shape.add(polygon(QPolygonF({{1, 6}, {8, 6}, {8, 2}, {14.5, 8}, {8, 14}, {8, 10}, {1, 10}})));
    paintShaded(arrow, shape, colours, {.roundness = 2.5, .ambient = 0.35, .dither = 0.25});
    outline(arrow, 0.35);
    return arrow;
}

} // namespace

QImage drawRowArrows() {
    const Ramp cyan = ramp({0x005a6e, 0x0090a8, 0x00c8dc, 0x60f0ff, 0xd0ffff});
    const Ramp red = ramp({0x6e0000, 0xa80c0c, 0xe02020, 0xff6a5a, 0xffd0c8});
    return strip({drawArrow(cyan), drawArrow(red)});
}

} // namespace makeart
