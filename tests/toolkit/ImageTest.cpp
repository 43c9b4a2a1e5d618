#include "toolkit/Image.h"
#include "toolkit/ImageList.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>

using toolkit::Image;
using toolkit::ImageList;

namespace {

QImage solid(int w, int h, QRgb rgb, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, format);
    image.fill(rgb);
    return image;
}

QImage shown(QWidget &widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(Image, CanvasOfAnEmptyPictureIsWhiteAndControlSized) {
    Image image;
    image.resize(30, 20);
    EXPECT_FALSE(image.hasPicture());
    toolkit::Canvas &canvas = image.canvas();
    ASSERT_TRUE(image.hasPicture());
    EXPECT_EQ(image.picture().size(), QSize(30, 20));
    EXPECT_EQ(image.picture().pixel(29, 19), qRgb(255, 255, 255));

    canvas.setPixel(2, 3, Qt::red);
    EXPECT_EQ(image.picture().pixel(2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(shown(image).pixel(2, 3), qRgb(255, 0, 0));

    image.resize(50, 50); // an existing picture keeps its size
    image.canvas();
    EXPECT_EQ(image.picture().size(), QSize(30, 20));

    image.resetPicture({4, 5});
    EXPECT_EQ(image.picture().size(), QSize(4, 5));
    EXPECT_EQ(image.picture().pixel(3, 4), qRgb(0, 0, 0));
    image.clearPicture();
    EXPECT_FALSE(image.hasPicture());
}

TEST(Image, StretchesWithoutSmoothingAndLetsBlackThrough) {
    QWidget parent;
    parent.resize(8, 8);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::blue);
    parent.setPalette(palette);

    auto *image = new Image(&parent);
    image->setGeometry(0, 0, 8, 8);
    QImage picture = solid(2, 2, qRgb(0, 0, 0));
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 1, qRgb(255, 255, 255));
    image->setPicture(picture);

    QImage screen = shown(parent);
    EXPECT_EQ(screen.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(screen.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(4, 4), qRgb(0, 0, 255)); // the picture is smaller than the control

    image->setStretch(true);
    screen = shown(parent);
    EXPECT_EQ(screen.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(screen.pixel(4, 3), qRgb(0, 0, 0)); // no blend at the seams
    EXPECT_EQ(screen.pixel(7, 0), qRgb(0, 0, 0));

    image->setTransparent(true);
    screen = shown(parent);
    EXPECT_EQ(screen.pixel(7, 0), qRgb(0, 0, 255));
    EXPECT_EQ(screen.pixel(0, 7), qRgb(0, 0, 255));
    EXPECT_EQ(screen.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(7, 7), qRgb(255, 255, 255));

    // Drawing turns a transparent pixel opaque: the keyed copy must not go stale.
    image->canvas().setPixel(1, 0, Qt::green);
    screen = shown(parent);
    EXPECT_EQ(screen.pixel(7, 0), qRgb(0, 255, 0));
    image->setPicture(solid(2, 2, qRgb(0, 0, 0)));
    EXPECT_EQ(shown(parent).pixel(0, 0), qRgb(0, 0, 255));
}

TEST(ImageList, FramesAreCutScaledAndDrawnThroughTheirMask) {
    ImageList list(4, 3);
    QImage strip = solid(12, 3, 0x00000000u, QImage::Format_ARGB32);
    for (int frame = 0; frame < 3; ++frame)
        strip.setPixel(frame * 4 + frame, 1, qRgba(0, 0, 255, 255));
    strip.setPixel(3, 2, qRgba(0, 255, 0, 127)); // half-set mask counts as unset
    list.addStrip(strip);
    list.add(solid(8, 6, qRgb(255, 0, 0))); // scaled down, no mask: all opaque
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.frame(3).size(), QSize(4, 3));
    EXPECT_TRUE(list.frame(4).isNull());
    EXPECT_TRUE(list.frame(-1).isNull());

    QImage target = solid(10, 10, qRgb(9, 9, 9));
    list.draw(target, 5, 5, 2);
    EXPECT_EQ(target.pixel(7, 6), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(5, 5), qRgb(9, 9, 9)); // outside the mask: kept
    EXPECT_EQ(target.pixel(6, 6), qRgb(9, 9, 9));
    list.draw(target, 0, 0, 0);
    EXPECT_EQ(target.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(3, 2), qRgb(9, 9, 9));
    list.draw(target, 8, 8, 3); // clipped at the edge
    EXPECT_EQ(target.pixel(9, 9), qRgb(255, 0, 0));
    const QImage before = target;
    list.draw(target, 0, 0, 4);
    list.draw(target, 0, 0, -1);
    EXPECT_EQ(target, before);
}

TEST(ImageList, DrawIntoGivesThePictureTheListsSize) {
    ImageList list(4, 3);
    QImage frame = solid(4, 3, 0x00000000u, QImage::Format_ARGB32);
    frame.setPixel(1, 1, qRgba(255, 0, 0, 255));
    list.add(frame);

    Image empty;
    list.drawInto(empty, 0);
    ASSERT_EQ(empty.picture().size(), QSize(4, 3));
    EXPECT_EQ(empty.picture().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(empty.picture().pixel(1, 1), qRgb(255, 0, 0));

    Image wide;
    wide.setPicture(solid(6, 2, qRgb(0, 255, 0)));
    list.drawInto(wide, 0);
    ASSERT_EQ(wide.picture().size(), QSize(4, 3));
    EXPECT_EQ(wide.picture().pixel(3, 0), qRgb(0, 255, 0)); // kept where it overlaps
    EXPECT_EQ(wide.picture().pixel(0, 2), qRgb(0, 0, 0));   // new area black
    EXPECT_EQ(wide.picture().pixel(1, 1), qRgb(255, 0, 0));

    Image untouched;
    untouched.setPicture(solid(6, 2, qRgb(0, 255, 0)));
    list.drawInto(untouched, 1);
    EXPECT_EQ(untouched.picture().size(), QSize(6, 2));
}
