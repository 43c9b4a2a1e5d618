// The glyphs of the buttons: the standard OK, Cancel and Close kinds in their classic colours
// (a green tick, a red cross, an open door) and the picture of "Start another game?". Each is
// drawn on a 16-unit grid, so the 16 x 16 glyph and its 32 x 32 twin for a doubled screen are
// the same drawing, and both stay crisp.
#include "Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace makeart {

namespace {

// A stroke with a darker rim beneath it, which keeps the shape readable on any button face.
void rimmedStroke(QPainter &p, const QPainterPath &path, QColor rim, QColor body, double width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, width + 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(body, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

void drawTick(QPainter &p) {
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4);
    rimmedStroke(p, tick, QColor(0, 80, 0), QColor(0, 170, 0), 2.4);
}

void drawCross(QPainter &p) {
    QPainterPath cross;
    cross.moveTo(4, 4);
    cross.lineTo(12, 12);
    cross.moveTo(12, 4);
    cross.lineTo(4, 12);
    rimmedStroke(p, cross, QColor(110, 0, 0), QColor(220, 20, 20), 2.2);
}

// A door frame with the light of the way out in it, and the door swung open towards us.
void drawDoor(QPainter &p) {
    p.setPen(QPen(QColor(60, 40, 20), 1));
    p.setBrush(QColor(255, 240, 150));
    p.drawRect(QRectF(6.5, 1.5, 7, 13));
    QPolygonF door({{6.5, 1.5}, {2.5, 3.5}, {2.5, 15.5}, {6.5, 14.5}});
    p.setBrush(QColor(150, 90, 40));
    p.drawPolygon(door);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(5.2, 9), 0.8, 0.8);
    p.setPen(QPen(QColor(60, 40, 20), 1));
    p.drawLine(QPointF(1, 15.5), QPointF(15, 15.5));
}

// A round arrow: one more time round.
void drawAnother(QPainter &p) {
    QPainterPath arc;
    arc.arcMoveTo(QRectF(3, 3, 10, 10), 100);
    arc.arcTo(QRectF(3, 3, 10, 10), 100, 280);
    rimmedStroke(p, arc, QColor(0, 60, 120), QColor(40, 150, 255), 2);
    QPolygonF head({{6.3, 0.8}, {10.2, 3.4}, {6.0, 6.2}});
    p.setPen(QPen(QColor(0, 60, 120), 0.8));
    p.setBrush(QColor(40, 150, 255));
    p.drawPolygon(head);
}

} // namespace

QImage drawGlyph(Glyph glyph, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (glyph) {
    case Glyph::Ok:
        drawTick(p);
        break;
    case Glyph::Cancel:
        drawCross(p);
        break;
    case Glyph::Close:
        drawDoor(p);
        break;
    case Glyph::Another:
        drawAnother(p);
        break;
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace makeart
