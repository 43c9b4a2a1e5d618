// The two pictures in the help window's title strip, made from the game's own bad guys: a
// pair of the green jellyfish on the left, a ray turned blue on the right. Both are drawn at
// the size they are shown, 70 x 47, on a see-through background.
#include "Artwork.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace makeart {

namespace {

constexpr int PictureWidth = 70;
constexpr int PictureHeight = 47;
constexpr int FrameSize = 50;

// One frame of a bad guy's strip: 0 and 1 are the two halves of its wing beat.
QImage frameOf(const QImage &strip, int frame) {
    return strip.copy(frame * FrameSize, 0, FrameSize, FrameSize);
}

QImage emptyPicture() {
    QImage picture(PictureWidth, PictureHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    return picture;
}

// Turns every colour of a sprite round the colour wheel, keeping its shading.
QImage hueTurned(const QImage &sprite, int degrees) {
    QImage turned = sprite.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < turned.height(); ++y) {
        for (int x = 0; x < turned.width(); ++x) {
            const QColor colour = QColor::fromRgba(turned.pixel(x, y));
            if (colour.alpha() == 0 || colour.hsvHue() < 0) {
                continue;
            }
            const QColor shifted =
                QColor::fromHsv((colour.hsvHue() + degrees) % 360, colour.hsvSaturation(),
                                colour.value(), colour.alpha());
            turned.setPixel(x, y, shifted.rgba());
        }
    }
    return turned;
}

void place(QPainter &p, const QImage &sprite, QRect where) {
    p.drawImage(where, sprite.scaled(where.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

QImage drawHelpPair() {
    const QImage jellyfish = drawBadGuy(0);
    QImage picture = emptyPicture();
    QPainter p(&picture);
    // The squeezed one hangs further back, the stretched one pumps past it in front.
    place(p, frameOf(jellyfish, 0), QRect(33, 1, 36, 36));
    place(p, frameOf(jellyfish, 1), QRect(2, 2, 45, 45));
    p.end();
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QImage drawHelpRay() {
    QImage picture = emptyPicture();
    QPainter p(&picture);
    place(p, hueTurned(frameOf(drawBadGuy(3), 1), 25),
          QRect((PictureWidth - PictureHeight) / 2, 0, PictureHeight, PictureHeight));
    p.end();
    return picture.convertToFormat(QImage::Format_ARGB32);
}

} // namespace makeart
