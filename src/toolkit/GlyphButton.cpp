#include "toolkit/GlyphButton.h"

#include <QFileInfo>
#include <QImage>
#include <QPixmap>

namespace toolkit {

namespace {

// Where the picture of a glyph lies: the standard kinds are the toolkit's own.
QString pictureOf(const QString &glyph) {
    for (const char *kind : {"ok", "cancel", "close"})
        if (glyph == QLatin1String(kind))
            return QStringLiteral(":/toolkit/glyphs/%1.png").arg(glyph);
    return glyph;
}

QString doubledOf(const QString &picture) {
    const QFileInfo info(picture);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? picture : picture.chopped(suffix.size() + 1);
    return base + "@2x" + (suffix.isEmpty() ? QString() : "." + suffix);
}

// The classic disabled look: the glyph's shape in a light grey, its shading kept faintly.
QPixmap greyed(const QImage &picture) {
    QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = 128 + qGray(line[x]) / 4;
            line[x] = qRgba(level, level, level, qAlpha(line[x]));
        }
    }
    return QPixmap::fromImage(grey);
}

} // namespace

GlyphButton::GlyphButton(QWidget *parent) : QPushButton(parent) {
    setIconSize(QSize(16, 16));
}

void GlyphButton::setGlyph(const QString &glyph) {
    glyph_ = glyph;
    setIcon(glyphIcon(glyph));
}

QIcon GlyphButton::glyphIcon(const QString &glyph) {
    if (glyph.isEmpty())
        return {};
    const QString picture = pictureOf(glyph);
    QIcon icon;
    for (const QString &file : {picture, doubledOf(picture)}) {
        const QImage image(file);
        if (image.isNull())
            continue;
        icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
        icon.addPixmap(greyed(image), QIcon::Disabled);
    }
    return icon;
}

} // namespace toolkit
