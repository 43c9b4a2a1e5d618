// Glyph buttons: the standard kinds in their colours at both sizes, a picture of the button's
// own, and the greyed glyph of a disabled button.
#include "toolkit/GlyphButton.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The average colour of a picture's opaque pixels.
QColor averageOf(const QImage &picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 200)
                continue;
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

} // namespace

TEST(GlyphButtonTest, StandardKindsShowTheirClassicColoursSharpAtEitherScale) {
    struct Case {
        const char *glyph;
        bool (*looks)(const QColor &);
    } const cases[] = {
        {"ok", [](const QColor &c) { return c.green() > 2 * c.red() && c.green() > 2 * c.blue(); }},
        {"cancel",
         [](const QColor &c) { return c.red() > 2 * c.green() && c.red() > 2 * c.blue(); }},
        // A wooden door in a lit frame: warm, red and green over blue.
        {"close", [](const QColor &c) { return c.red() > c.blue() + 60 && c.green() > c.blue(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.glyph);
        toolkit::GlyphButton button;
        button.setProperty("glyph", QString(c.glyph)); // as a window description sets it
        EXPECT_EQ(button.glyph(), c.glyph);
        ASSERT_FALSE(button.icon().isNull());
        EXPECT_EQ(button.iconSize(), QSize(16, 16));
        const QImage normal = button.icon().pixmap(QSize(16, 16), 1.0).toImage();
        EXPECT_EQ(normal.size(), QSize(16, 16));
        EXPECT_TRUE(c.looks(averageOf(normal))) << averageOf(normal).name().toStdString();
        // A doubled screen gets the drawing made at 32 pixels, not the small one enlarged.
        const QImage doubled = button.icon().pixmap(QSize(16, 16), 2.0).toImage();
        EXPECT_EQ(doubled.size(), QSize(32, 32));
        EXPECT_NE(doubled, normal.scaled(32, 32));
        EXPECT_TRUE(c.looks(averageOf(doubled)));

        const QImage disabled = button.icon().pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage();
        const QColor grey = averageOf(disabled);
        EXPECT_TRUE(grey.red() == grey.green() && grey.green() == grey.blue())
            << grey.name().toStdString();
        EXPECT_GT(grey.red(), 120) << "greyed light, as on a disabled button";
    }
}

TEST(GlyphButtonTest, APictureOfItsOwnWithItsDoubleOrNoneAtAll) {
    QTemporaryDir dir;
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(qRgb(0, 0, 255));
    QImage large(32, 32, QImage::Format_ARGB32);
    large.fill(qRgb(0, 0, 200));
    ASSERT_TRUE(small.save(dir.filePath("mine.png")));
    ASSERT_TRUE(large.save(dir.filePath("mine@2x.png")));

    toolkit::GlyphButton button;
    button.setGlyph(dir.filePath("mine.png"));
    EXPECT_EQ(button.icon().pixmap(QSize(16, 16), 1.0).toImage().pixel(8, 8), qRgb(0, 0, 255));
    EXPECT_EQ(button.icon().pixmap(QSize(16, 16), 2.0).toImage().pixel(8, 8), qRgb(0, 0, 200));

    for (const QString &none : {QString(), dir.filePath("missing.png")}) {
        button.setGlyph(none);
        EXPECT_TRUE(button.icon().isNull()) << none.toStdString();
    }
}
