// Surfaces of palette indices: copies with and without the colour key, the canvas that draws
// on them in colours, and how the front one is shown.
#include "gk/GK.h"

#include <QColor>
#include <gtest/gtest.h>

#include <string>

namespace {

// A surface of `width` x `height` whose pixels are given row by row as digits.
std::unique_ptr<TGKSurface> surfaceOf(gk::DisplayPlatform &platform,
                                      std::initializer_list<const char *> rows) {
    const int width = int(std::strlen(*rows.begin()));
    auto surface = TGKSurface::OffScreen(platform, width, int(rows.size()));
    int y = 0;
    for (const char *row : rows) {
        for (int x = 0; x < width; ++x)
            surface->Memory().row(y)[x] = uint8_t(row[x] - '0');
        ++y;
    }
    return surface;
}

std::vector<std::string> rowsOf(const TGKSurface &surface) {
    std::vector<std::string> rows;
    for (int y = 0; y < surface.Height(); ++y) {
        std::string row;
        for (int x = 0; x < surface.Width(); ++x)
            row += char('0' + surface.Memory().row(y)[x]);
        rows.push_back(row);
    }
    return rows;
}

struct Surfaces : ::testing::Test {
    gk::QtDisplayPlatform platform;
    Surfaces() { platform.create(); }
};

} // namespace

TEST_F(Surfaces, KeyedCopiesLeaveTheKeysPixelsAndStayInsideTheClipRect) {
    struct Case {
        const char *what;
        QPoint at;
        QRect from;
        bool transparent;
        QRect clip;
        std::vector<std::string> result;
    } const cases[] = {
        {"keyed", {1, 1}, {0, 0, 3, 2}, true, {0, 0, 5, 4}, {"77777", "71277", "77127", "77777"}},
        {"plain", {1, 1}, {0, 0, 3, 2}, false, {0, 0, 5, 4}, {"77777", "71207", "70127", "77777"}},
        {"off the edge",
         {3, -1},
         {0, 0, 3, 2},
         true,
         {0, 0, 5, 4},
         {"77771", "77777", "77777", "77777"}},
        {"clipped", {0, 0}, {0, 0, 3, 2}, true, {1, 0, 1, 4}, {"72777", "71777", "77777", "77777"}},
        {"part of the source",
         {0, 2},
         {1, 0, 2, 2},
         true,
         {0, 0, 5, 4},
         {"77777", "77777", "27777", "12777"}},
    };
    auto source = surfaceOf(platform, {"120", "012"});
    source->SetTransparentColor(0);
    for (const Case &c : cases) {
        auto dest = surfaceOf(platform, {"77777", "77777", "77777", "77777"});
        dest->SetClipRect(c.clip);
        dest->Blt(c.at.x(), c.at.y(), *source, c.from, c.transparent);
        EXPECT_EQ(rowsOf(*dest), c.result) << c.what;
    }

    // Within one surface, a copy onto an overlapping place reads every row before it is written.
    auto same = surfaceOf(platform, {"123", "456", "789"});
    same->Blt(0, 1, *same, QRect(0, 0, 3, 2), false);
    EXPECT_EQ(rowsOf(*same), (std::vector<std::string>{"123", "123", "456"}));
}

TEST_F(Surfaces, LockingHandsOutThePixelsRowsPitchApart) {
    auto surface = TGKSurface::OffScreen(platform, 5, 2);
    EXPECT_EQ(surface->Pitch(), 8);
    uint8_t *bits = surface->Lock();
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(surface->LockedBits(), bits);
    bits[surface->Pitch() + 4] = 9;
    surface->Unlock();
    EXPECT_EQ(surface->LockedBits(), nullptr);
    EXPECT_EQ(rowsOf(*surface), (std::vector<std::string>{"00000", "00009"}));
    surface->Erase(4);
    EXPECT_EQ(rowsOf(*surface), (std::vector<std::string>{"44444", "44444"}));
}

TEST_F(Surfaces, ACanvasDrawingLandsAsThePalettesNearestIndices) {
    EXPECT_THROW(TGKCanvas(nullptr), EGKCanvas);
    try {
        TGKCanvas canvas(nullptr);
    } catch (const EGKCanvas &e) {
        EXPECT_STREQ(e.what(), "Cannot create canvas for NIL surface");
    }

    // A palette with red at 5, blue at 6 and red again at 7.
    auto front = platform.createPrimary(QSize(1, 1), 0);
    gk::PaletteEntries palette{};
    palette[5] = {255, 0, 0, 0};
    palette[6] = {0, 0, 255, 0};
    palette[7] = {255, 0, 0, 0};
    ASSERT_EQ(platform.createPalette(palette), gk::DisplayResult::Ok);
    ASSERT_EQ(platform.attachPalette(*front), gk::DisplayResult::Ok);

    auto surface = surfaceOf(platform, {"7000", "0000"});
    TGKCanvas &canvas = surface->Canvas();
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_EQ(canvas.pixel(0, 0), QColor(255, 0, 0)) << "read through the palette";
    EXPECT_TRUE(canvas.HandleAllocated());

    canvas.setPenColor(QColor(255, 0, 0));
    canvas.moveTo(1, 0);
    canvas.lineTo(3, 0);
    canvas.setPixel(3, 1, QColor(10, 20, 240)); // nearest is the blue at 6
    canvas.setPixel(0, 1, QColor(0, 0, 0));     // black as it was: the pixel stays as it is
    EXPECT_EQ(rowsOf(*surface), (std::vector<std::string>{"7000", "0000"}))
        << "nothing lands before the context is given back";
    canvas.ReleaseHandle();
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_EQ(rowsOf(*surface), (std::vector<std::string>{"7550", "0006"}))
        << "red drawn takes the first red; the red already at 7 keeps its index";

    // Destroying the surface gives a borrowed context back first (sanitizers watch this).
    surface->Canvas().fillRect(QRect(0, 0, 4, 2));
    surface.reset();
    platform.releaseSurface(front);
}

TEST_F(Surfaces, AFrontIsShownSharpThroughThePaletteAtAnySize) {
    struct Case {
        QSize source;
        QRect area;
        QRect fitted;
    } const fits[] = {
        {{640, 480}, {0, 0, 1280, 1024}, {0, 32, 1280, 960}},
        {{320, 200}, {0, 0, 1000, 500}, {100, 0, 800, 500}},
        {{320, 240}, {0, 0, 320, 240}, {0, 0, 320, 240}},
        {{320, 240}, {10, 10, 0, 240}, {}},
    };
    for (const Case &c : fits)
        EXPECT_EQ(gk::FitRect(c.source, c.area), c.fitted)
            << c.source.width() << "x" << c.area.width();

    gk::PixelSurface source(2, 2, 4);
    source.row(0)[0] = 1;
    source.row(1)[1] = 2;
    gk::ColorTable colors{};
    colors[0] = qRgb(0, 0, 0);
    colors[1] = qRgb(255, 0, 0);
    colors[2] = qRgb(0, 0, 255);
    QImage target(4, 4, QImage::Format_RGB32);
    gk::PresentScaled(source, colors, target);
    const QRgb r = colors[1], b = colors[2], k = colors[0];
    const QRgb expected[4][4] = {{r, r, k, k}, {r, r, k, k}, {k, k, b, b}, {k, k, b, b}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(target.pixel(x, y), expected[y][x]) << x << "," << y;

    QImage same(2, 2, QImage::Format_RGB32);
    gk::PresentScaled(source, colors, same);
    EXPECT_EQ(same.pixel(1, 1), b);
}
