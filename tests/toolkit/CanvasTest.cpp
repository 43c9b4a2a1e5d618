#include "toolkit/Canvas.h"
#include "toolkit/PaintBox.h"

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

using toolkit::Canvas;
using toolkit::FillStyle;

namespace {

QImage blackImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

int countNot(const QImage &image, QRgb rgb) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffff) != (rgb & 0xffffff);
    return n;
}

int countOf(const QImage &image, QRgb rgb) {
    return image.width() * image.height() - countNot(image, rgb);
}

} // namespace

TEST(Canvas, RedrawingInBlackErasesEveryPixelDrawn) {
    QImage image = blackImage(120, 90);
    Canvas canvas(&image);
    for (int width = 1; width <= 3; ++width) {
        for (const QRect &box : {QRect(10, 10, 41, 27), QRect(3, 50, 2, 2), QRect(60, 5, 50, 80)}) {
            canvas.setPenWidth(width);
            canvas.setPenColor(Qt::white);
            canvas.setBrushColor(Qt::red);
            canvas.ellipse(box.left(), box.top(), box.left() + box.width(),
                           box.top() + box.height());
            ASSERT_GT(countNot(image, 0), 0);
            canvas.setPenColor(Qt::black);
            canvas.setBrushColor(Qt::black);
            canvas.ellipse(box.left(), box.top(), box.left() + box.width(),
                           box.top() + box.height());
            ASSERT_EQ(countNot(image, 0), 0) << "pen " << width << " box " << box.x();
        }
    }

    canvas.setPenWidth(6);
    const std::vector<QPoint> ends{{110, 12}, {110, 80}, {15, 85}, {70, 3}, {37, 60}, {3, 44}};
    for (const QPoint &end : ends) {
        canvas.setPenColor(Qt::white);
        canvas.moveTo(60, 45);
        canvas.lineTo(end.x(), end.y());
        ASSERT_GT(countNot(image, 0), 0);
        canvas.setPenColor(Qt::black);
        canvas.moveTo(60, 45);
        canvas.lineTo(end.x(), end.y());
        ASSERT_EQ(countNot(image, 0), 0) << end.x() << "," << end.y();
    }
}

TEST(Canvas, EllipseStaysInsideItsBoxAndIsFilledWithTheBrush) {
    QImage image = blackImage(40, 40);
    Canvas canvas(&image);
    canvas.setPenColor(Qt::white);
    canvas.setBrushColor(Qt::blue);
    canvas.setPenWidth(2);
    canvas.ellipse(10, 5, 30, 25);

    QRect painted;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0)
                painted |= QRect(x, y, 1, 1);
    EXPECT_EQ(painted, QRect(10, 5, 20, 20)); // right and bottom edges excluded
    EXPECT_EQ(canvas.pixel(20, 15), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixel(10, 15), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(11, 15), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(29, 14), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(10, 5), QColor(Qt::black)); // the corner is outside
}

TEST(Canvas, LineToLeavesItsEndPointAndMovesThePen) {
    QImage image = blackImage(20, 20);
    Canvas canvas(&image);
    canvas.setPenColor(Qt::white);
    canvas.moveTo(2, 3);
    canvas.lineTo(12, 3);
    EXPECT_EQ(canvas.penPos(), QPoint(12, 3));
    EXPECT_EQ(canvas.pixel(2, 3), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(11, 3), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(12, 3), QColor(Qt::black));
    EXPECT_EQ(countOf(image, 0xffffff), 10);

    canvas.lineTo(12, 13); // continues from the pen, painting the corner the last one left
    EXPECT_EQ(canvas.pixel(12, 3), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(12, 13), QColor(Qt::black));

    canvas.moveTo(0, 0);
    canvas.lineTo(5, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(canvas.pixel(i, i), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(5, 5), QColor(Qt::black));
}

TEST(Canvas, PixelsOutsideThePictureAreIgnored) {
    QImage image = blackImage(10, 10);
    Canvas canvas(&image);
    int changes = 0;
    canvas.onChanged = [&](const QRect &r) {
        ++changes;
        EXPECT_TRUE(image.rect().contains(r));
    };
    canvas.setPixel(-1, 0, Qt::white);
    canvas.setPixel(10, 3, Qt::white);
    canvas.setPixel(3, 10, Qt::white);
    EXPECT_EQ(countNot(image, 0), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(canvas.pixel(10, 0).isValid());

    canvas.setPixel(9, 9, QColor(10, 20, 30, 0)); // alpha is no part of a pixel
    EXPECT_EQ(canvas.pixel(9, 9), QColor(10, 20, 30));
    EXPECT_EQ(changes, 1);

    canvas.setPenColor(Qt::white);
    canvas.setPenWidth(3);
    canvas.moveTo(-20, 5);
    canvas.lineTo(30, 5); // crosses the picture and leaves it
    EXPECT_EQ(canvas.pixel(0, 5), QColor(Qt::white));
    EXPECT_EQ(canvas.pixel(9, 5), QColor(Qt::white));
    EXPECT_EQ(changes, 2);
}

TEST(Canvas, FloodFillSurfaceAndBorder) {
    // A green ring around a black hole on a black field.
    QImage image = blackImage(30, 30);
    Canvas canvas(&image);
    canvas.setBrushColor(Qt::green);
    canvas.fillRect(QRect(5, 5, 10, 10));
    canvas.setBrushColor(Qt::black);
    canvas.fillRect(QRect(7, 7, 6, 6));

    // Surface from inside the hole: only the hole, not the black outside.
    canvas.setBrushColor(Qt::red);
    canvas.floodFill(9, 9, Qt::black, FillStyle::Surface);
    EXPECT_EQ(countOf(image, 0xff0000), 36);
    EXPECT_EQ(canvas.pixel(6, 6), QColor(Qt::green));
    EXPECT_EQ(canvas.pixel(0, 0), QColor(Qt::black));

    // Surface from a pixel of another colour paints nothing.
    canvas.setBrushColor(Qt::blue);
    canvas.floodFill(0, 0, Qt::white, FillStyle::Surface);
    EXPECT_EQ(countOf(image, 0x0000ff), 0);

    // Border from outside: everything up to the green ring, but not inside it.
    canvas.floodFill(0, 0, Qt::green, FillStyle::Border);
    EXPECT_EQ(countOf(image, 0x0000ff), 30 * 30 - 100);
    EXPECT_EQ(countOf(image, 0xff0000), 36);

    // Starting on the border colour itself or outside the picture paints nothing.
    canvas.setBrushColor(Qt::yellow);
    canvas.floodFill(5, 5, Qt::green, FillStyle::Border);
    canvas.floodFill(-1, 3, Qt::green, FillStyle::Border);
    canvas.floodFill(3, 30, Qt::blue, FillStyle::Surface);
    EXPECT_EQ(countOf(image, 0xffff00), 0);

    // Diagonal neighbours are not connected.
    QImage diagonal = blackImage(2, 2);
    diagonal.setPixel(1, 1, qRgb(0, 0, 0));
    diagonal.setPixel(0, 1, qRgb(255, 255, 255));
    diagonal.setPixel(1, 0, qRgb(255, 255, 255));
    Canvas small(&diagonal);
    small.setBrushColor(Qt::red);
    small.floodFill(0, 0, Qt::black, FillStyle::Surface);
    EXPECT_EQ(small.pixel(1, 1), QColor(Qt::black));
    EXPECT_EQ(small.pixel(0, 0), QColor(Qt::red));
}

TEST(Canvas, FloodFillCoversLargeFieldsEvenWithTheBrushItKeysOn) {
    // A field bounded by a colour that appears nowhere in it, with scattered obstacles that
    // force many scanline seeds.
    QImage image = blackImage(523, 226);
    for (int y = 0; y < 226; y += 3)
        for (int x = (y * 7) % 5; x < 523; x += 5)
            image.setPixel(x, y, qRgb(255, 255, 255));
    Canvas canvas(&image);
    int changes = 0;
    canvas.onChanged = [&](const QRect &r) {
        ++changes;
        EXPECT_EQ(r, image.rect());
    };
    canvas.setBrushColor(Qt::gray);
    canvas.floodFill(1, 1, QColor(0, 0, 255), FillStyle::Border);
    EXPECT_EQ(countNot(image, QColor(Qt::gray).rgb()), 0);
    EXPECT_EQ(changes, 1);

    // The brush is the colour the fill keys on: it must still end.
    QImage field = blackImage(600, 400);
    Canvas fieldCanvas(&field);
    fieldCanvas.setBrushColor(Qt::white);
    fieldCanvas.floodFill(300, 200, Qt::white, FillStyle::Border);
    EXPECT_EQ(countNot(field, 0xffffff), 0);
    fieldCanvas.setBrushColor(Qt::black);
    fieldCanvas.floodFill(0, 0, Qt::white, FillStyle::Surface);
    EXPECT_EQ(countNot(field, 0), 0);
}

TEST(PaintBox, KeepsPixelsAcrossResizeAndFillsNewAreaWithItsColour) {
    toolkit::PaintBox box;
    box.setColor(Qt::blue);
    box.resize(10, 10); // not shown: Qt holds back the resize event
    EXPECT_FALSE(box.canvas().pixel(10, 5).isValid());
    box.canvas().setPixel(3, 4, Qt::red);
    EXPECT_EQ(box.image().size(), QSize(10, 10));
    EXPECT_EQ(box.image().format(), QImage::Format_RGB32);

    box.setColor(Qt::green);
    box.resize(20, 15);
    box.show();
    box.repaintNow();
    ASSERT_EQ(box.image().size(), QSize(20, 15));
    EXPECT_EQ(box.image().pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(box.image().pixel(19, 14), qRgb(0, 255, 0));
    EXPECT_EQ(box.canvas().pixel(19, 0), QColor(Qt::green));

    const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(15, 12), qRgb(0, 255, 0));
}
