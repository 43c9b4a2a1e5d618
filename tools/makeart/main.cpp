// Draws the game's artwork into PNG files. Everything is generated from code and fixed seeds,
// so the images can be rebuilt identically and tweaked without an image editor.
#include "Artwork.h"
#include "Rng.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using makeart::Rng;

// Three box blurs in a row come close to a Gaussian and keep the tool free of other
// libraries.
QImage blurred(const QImage &source, int radius) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width();
    const int h = image.height();
    std::vector<int> line;

    auto pass = [&](bool horizontal) {
        const int length = horizontal ? w : h;
        const int lines = horizontal ? h : w;
        line.assign(static_cast<std::size_t>(length) * 4, 0);
        for (int l = 0; l < lines; ++l) {
            auto pixel = [&](int i) -> QRgb & {
                const int x = horizontal ? i : l;
                const int y = horizontal ? l : i;
                return reinterpret_cast<QRgb *>(image.scanLine(y))[x];
            };
            for (int i = 0; i < length; ++i) {
                const QRgb p = pixel(i);
                line[i * 4 + 0] = qAlpha(p);
                line[i * 4 + 1] = qRed(p);
                line[i * 4 + 2] = qGreen(p);
                line[i * 4 + 3] = qBlue(p);
            }
            const int span = 2 * radius + 1;
            for (int i = 0; i < length; ++i) {
                int sum[4] = {0, 0, 0, 0};
                for (int k = i - radius; k <= i + radius; ++k) {
                    if (k < 0 || k >= length) {
                        continue;
                    }
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += line[k * 4 + c];
                    }
                }
                pixel(i) = qRgba(sum[1] / span, sum[2] / span, sum[3] / span, sum[0] / span);
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(true);
        pass(false);
    }
    return image;
}

QImage transparentLayer(QSize size) {
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void drawSpace(QPainter &p, QRectF area) {
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(4, 5, 18));
    sky.setColorAt(0.55, QColor(12, 14, 44));
    sky.setColorAt(1.0, QColor(22, 10, 40));
    p.fillRect(area, sky);

    // Faint nebulae: wide, low clouds of colour that keep the black from looking flat.
    struct Cloud {
        QPointF centre;
        double radius;
        QColor colour;
    };
    const Cloud clouds[] = {
        {{70, 44}, 120, QColor(120, 30, 140, 70)}, {{400, 14}, 130, QColor(20, 90, 160, 70)},
        {{234, 30}, 170, QColor(40, 60, 150, 45)}, {{330, 58}, 90, QColor(160, 40, 90, 45)},
        {{150, 6}, 80, QColor(30, 120, 150, 35)},
    };
    p.setPen(Qt::NoPen);
    for (const Cloud &cloud : clouds) {
        QRadialGradient glow(cloud.centre, cloud.radius);
        QColor edge = cloud.colour;
        edge.setAlpha(0);
        glow.setColorAt(0.0, cloud.colour);
        glow.setColorAt(1.0, edge);
        p.setBrush(glow);
        p.drawEllipse(cloud.centre, cloud.radius * 1.6, cloud.radius * 0.5);
    }
}

// Streaks flying out of the centre give the sense of speed.
void drawStreaks(QPainter &p, QPointF vanishing, QRectF area, Rng &rng) {
    const double reach = std::hypot(area.width(), area.height()) / 2;
    for (int i = 0; i < 70; ++i) {
        const double angle = rng.uniform(0, 2 * std::numbers::pi);
        const double from = rng.uniform(0.18, 0.6) * reach;
        const double to = from + rng.uniform(0.12, 0.45) * reach;
        const QPointF dir(std::cos(angle), std::sin(angle) * 0.55);
        const QPointF a = vanishing + dir * from;
        const QPointF b = vanishing + dir * to;
        const int alpha = static_cast<int>(rng.uniform(35, 110));
        const bool warm = rng.uniform(0, 1) < 0.25;
        const QColor tint = warm ? QColor(255, 190, 140) : QColor(150, 200, 255);

        QLinearGradient trail(a, b);
        QColor faint = tint;
        faint.setAlpha(0);
        QColor bright = tint;
        bright.setAlpha(alpha);
        trail.setColorAt(0.0, faint);
        trail.setColorAt(1.0, bright);
        p.setPen(QPen(QBrush(trail), rng.uniform(0.5, 1.3), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
    }
}

void drawStar(QPainter &p, QPointF at, double size, QColor colour) {
    QRadialGradient halo(at, size * 4);
    QColor edge = colour;
    edge.setAlpha(0);
    QColor inner = colour;
    inner.setAlpha(110);
    halo.setColorAt(0.0, inner);
    halo.setColorAt(1.0, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(at, size * 4, size * 4);

    // Diffraction spikes, the way a bright star looks through a telescope.
    for (int axis = 0; axis < 2; ++axis) {
        const QPointF reach = axis == 0 ? QPointF(size * 7, 0) : QPointF(0, size * 5);
        QLinearGradient spike(at - reach, at + reach);
        QColor clear = colour;
        clear.setAlpha(0);
        spike.setColorAt(0.0, clear);
        spike.setColorAt(0.5, colour);
        spike.setColorAt(1.0, clear);
        p.setPen(QPen(QBrush(spike), 0.8));
        p.drawLine(at - reach, at + reach);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(at, size * 0.7, size * 0.7);
}

void drawFieldStars(QPainter &p, QRectF area, Rng &rng) {
    const QColor tints[] = {QColor(255, 255, 255), QColor(190, 215, 255), QColor(255, 235, 200),
                            QColor(200, 240, 255)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        const QPointF at(rng.uniform(area.left(), area.right()),
                         rng.uniform(area.top(), area.bottom()));
        // Most stars faint, a few bright: brightness follows a steep curve.
        const double shine = std::pow(rng.uniform(0, 1), 2.6);
        QColor colour = tints[rng.next() % 4];
        colour.setAlpha(static_cast<int>(50 + 205 * shine));
        p.setBrush(colour);
        const double r = 0.45 + 0.6 * shine;
        p.drawEllipse(at, r, r);
    }
}

// The bright stars are placed by hand so that none sits under the title.
void drawBrightStars(QPainter &p) {
    const struct {
        QPointF at;
        double size;
        QColor colour;
    } bright[] = {
        {{28, 14}, 1.6, QColor(200, 225, 255)},  {{108, 49}, 1.1, QColor(255, 230, 200)},
        {{372, 50}, 1.4, QColor(210, 235, 255)}, {{441, 17}, 1.8, QColor(255, 245, 230)},
        {{84, 25}, 0.8, QColor(220, 240, 255)},  {{398, 33}, 0.9, QColor(255, 220, 230)},
    };
    for (const auto &star : bright) {
        drawStar(p, star.at, star.size, star.colour);
    }
}

struct Globe {
    QPointF centre;
    double radius;
    // Where the light comes from, in degrees counter-clockwise from the right.
    double lightAngle;
    QColor air;
    QColor lit;
    QColor middle;
    QColor shade;
    QColor bands;
};

// A planet or moon, lit from the side that faces the banner's centre.
void drawGlobe(QPainter &p, const Globe &globe) {
    const QPointF centre = globe.centre;
    const double radius = globe.radius;
    const double theta = globe.lightAngle * std::numbers::pi / 180;
    const QPointF toLight(std::cos(theta), -std::sin(theta));

    QRadialGradient atmosphere(centre, radius * 1.18);
    QColor clearAir = globe.air;
    clearAir.setAlpha(0);
    atmosphere.setColorAt(0.82, globe.air);
    atmosphere.setColorAt(1.00, clearAir);
    p.setPen(Qt::NoPen);
    p.setBrush(atmosphere);
    p.drawEllipse(centre, radius * 1.18, radius * 1.18);

    const QPointF light = centre + toLight * radius * 0.95;
    QRadialGradient surface(light, radius * 1.5, light);
    surface.setColorAt(0.00, globe.lit);
    surface.setColorAt(0.25, globe.middle);
    surface.setColorAt(0.60, globe.shade);
    surface.setColorAt(1.00, QColor(12, 5, 22));
    p.setBrush(surface);
    p.drawEllipse(centre, radius, radius);

    if (globe.bands.alpha() > 0) {
        QPainterPath disc;
        disc.addEllipse(centre, radius, radius);
        p.save();
        p.setClipPath(disc);
        for (int band = -3; band <= 3; ++band) {
            const double y = centre.y() + band * radius * 0.22;
            QColor colour = globe.bands;
            colour.setAlpha(band % 2 == 0 ? colour.alpha() : colour.alpha() / 2);
            p.setPen(QPen(colour, radius * 0.07));
            p.drawLine(QPointF(centre.x() - radius, y + radius * 0.12),
                       QPointF(centre.x() + radius, y - radius * 0.12));
        }
        p.restore();
    }

    // The thin lit crescent on the side facing the light.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(globe.lit, 1.0));
    p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
              static_cast<int>((globe.lightAngle - 45) * 16), 90 * 16);
}

QPainterPath titlePath(const QString &text, QRectF area) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setWeight(QFont::Bold);
    font.setPixelSize(44);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    if (QFontInfo(font).family() != font.family()) {
        QTextStream(stderr) << "makeart: " << font.family() << " is not installed; the title "
                            << "is drawn in " << QFontInfo(font).family() << "\n";
    }

    QPainterPath path;
    path.addText(0, 0, font, text);
    // Centre on the visible letters, not on the font's ascent and descent.
    const QRectF box = path.boundingRect();
    path.translate(area.center() - box.center());
    return path;
}

void drawTitle(QImage &image, const QString &text) {
    const QRectF area = image.rect();
    const QPainterPath letters = titlePath(text, area);

    QPainterPathStroker stroker;
    stroker.setWidth(5);
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath rim = stroker.createStroke(letters).united(letters);

    // An engine-hot glow behind the letters: a wide faint halo and a tight bright one, each
    // blurred on a layer of its own.
    auto halo = [&](double width, QColor colour, int radius) {
        QImage layer = transparentLayer(image.size());
        QPainter g(&layer);
        g.setRenderHint(QPainter::Antialiasing);
        QPainterPathStroker outline;
        outline.setWidth(width);
        outline.setJoinStyle(Qt::RoundJoin);
        g.fillPath(outline.createStroke(letters).united(letters), colour);
        g.end();
        return blurred(layer, radius);
    };
    const QImage wideGlow = halo(10, QColor(30, 110, 255, 150), 4);
    const QImage tightGlow = halo(5, QColor(90, 190, 255, 255), 1);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(0, 0, wideGlow);
    p.drawImage(0, 0, tightGlow);

    const QRectF box = letters.boundingRect();
    // A dark steel rim, then the chrome face with its horizon line across the middle.
    QLinearGradient rimShade(box.topLeft(), box.bottomLeft());
    rimShade.setColorAt(0.0, QColor(70, 80, 110));
    rimShade.setColorAt(1.0, QColor(10, 12, 30));
    p.fillPath(rim, rimShade);

    QLinearGradient chrome(box.topLeft(), box.bottomLeft());
    chrome.setColorAt(0.00, QColor(255, 255, 255));
    chrome.setColorAt(0.30, QColor(200, 220, 245));
    chrome.setColorAt(0.49, QColor(90, 110, 150));
    chrome.setColorAt(0.51, QColor(60, 40, 40));
    chrome.setColorAt(0.70, QColor(230, 150, 60));
    chrome.setColorAt(1.00, QColor(255, 230, 150));
    p.fillPath(letters, chrome);

    // A thin sheen along the upper edge of each letter, as light catching polished metal.
    p.setClipPath(letters);
    p.translate(0, 1.5);
    p.strokePath(letters, QPen(QColor(255, 255, 255, 90), 1.2));
    p.end();
}

QImage drawBanner() {
    QImage image(468, 60, QImage::Format_ARGB32_Premultiplied);
    const QRectF area = image.rect();
    Rng rng(0x60B0'1A7Bull);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        drawSpace(p, area);
        drawStreaks(p, area.center(), area, rng);
        drawFieldStars(p, area, rng);
        // A gas giant low in the corner and a small moon across from it give the scene depth.
        drawGlobe(p, {.centre = {14, 84},
                      .radius = 52,
                      .lightAngle = 55,
                      .air = QColor(255, 110, 190, 110),
                      .lit = QColor(250, 190, 220),
                      .middle = QColor(190, 90, 160),
                      .shade = QColor(70, 25, 80),
                      .bands = QColor(255, 200, 160, 40)});
        drawGlobe(p, {.centre = {430, 42},
                      .radius = 7,
                      .lightAngle = 160,
                      .air = QColor(120, 190, 255, 90),
                      .lit = QColor(220, 235, 255),
                      .middle = QColor(165, 180, 215),
                      .shade = QColor(60, 66, 105),
                      .bands = Qt::transparent});
        drawBrightStars(p);

        // A thin frame keeps the banner's edge crisp on any background.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(90, 110, 170, 160), 1));
        p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    drawTitle(image, QStringLiteral("GORBULAX"));
    return image.convertToFormat(QImage::Format_RGB888);
}

bool save(const QImage &image, const QDir &dir, const QString &name) {
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG")) {
        QTextStream(stderr) << "makeart: cannot write " << path << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    // Text needs a GUI application, but the artwork must not depend on a display, nor on the
    // fonts and scaling a desktop session would bring.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        QTextStream(stderr) << "usage: makeart <output-dir>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists()) {
        QTextStream(stderr) << "makeart: no such folder " << out.path() << "\n";
        return 1;
    }

    bool ok = true;
    ok = save(drawBanner(), out, QStringLiteral("banner.png")) && ok;
    for (int kind = 0; kind < 4; ++kind) {
        ok = save(makeart::drawBadGuy(kind), out, QStringLiteral("badguy%1.png").arg(kind)) && ok;
    }
    ok = save(makeart::drawExplosion(), out, QStringLiteral("explode.png")) && ok;
    ok = save(makeart::drawSpeakerIcon(), out, QStringLiteral("speaker.png")) && ok;
    ok = save(makeart::drawStarburstIcon(), out, QStringLiteral("starburst.png")) && ok;
    ok = save(makeart::drawHelpPair(), out, QStringLiteral("helppair.png")) && ok;
    ok = save(makeart::drawHelpRay(), out, QStringLiteral("helpray.png")) && ok;
    ok = save(makeart::drawRowArrows(), out, QStringLiteral("arrows.png")) && ok;
    // The buttons' glyphs, each at 16 and at 32 pixels for a doubled screen.
    if (!out.mkpath(QStringLiteral("glyphs"))) {
        QTextStream(stderr) << "makeart: cannot make " << out.filePath("glyphs") << "\n";
        return 1;
    }
    const std::pair<makeart::Glyph, const char *> glyphs[] = {
        {makeart::Glyph::Ok, "ok"},
        {makeart::Glyph::Cancel, "cancel"},
        {makeart::Glyph::Close, "close"},
        {makeart::Glyph::Another, "another"},
    };
    for (const auto &[glyph, name] : glyphs) {
        ok = save(makeart::drawGlyph(glyph, 16), out, QStringLiteral("glyphs/%1.png").arg(name)) &&
             ok;
        ok = save(makeart::drawGlyph(glyph, 32), out,
                  QStringLiteral("glyphs/%1@2x.png").arg(name)) &&
             ok;
    }
    // The desktop's icons, in the sizes its icon theme asks for.
    if (!out.mkpath(QStringLiteral("icons"))) {
        QTextStream(stderr) << "makeart: cannot make " << out.filePath("icons") << "\n";
        return 1;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        ok = save(makeart::drawStarburstIcon(size), out,
                  QStringLiteral("icons/gorbulax-%1.png").arg(size)) &&
             ok;
    }
    return ok ? 0 : 1;
}
