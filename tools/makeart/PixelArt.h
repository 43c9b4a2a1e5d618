#pragma once

// Helpers for the sprites. The game draws sprites through a one-bit mask, so every pixel here
// is either fully opaque or fully transparent: shapes are tested at pixel centres instead of
// antialiased, and shading comes from short colour ramps with ordered dithering.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QPolygonF>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace makeart {

// Whether a point in frame coordinates lies inside a shape.
using Shape = std::function<bool(QPointF)>;

Shape disc(QPointF centre, double radius);
Shape ellipse(QPointF centre, double rx, double ry, double degrees = 0);
Shape polygon(const QPolygonF &corners);
// A line along the path whose half-width runs from r0 at the start to r1 at the end.
Shape stroke(const std::vector<QPointF> &path, double r0, double r1);
Shape halfPlaneBelow(double y);

std::vector<QPointF> bezier(QPointF p0, QPointF p1, QPointF p2, QPointF p3, int steps = 16);
// A path walked from start with the heading turning by bend(fraction of the length) per unit.
std::vector<QPointF> turtle(QPointF start, double headingDegrees, double length,
                            const std::function<double(double)> &bend, int steps = 24);

// The pixels one part of a sprite covers.
class Mask {
public:
    Mask(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool at(int x, int y) const;
    void set(int x, int y, bool on);
    bool operator()(QPointF p) const;

    Mask &add(const Shape &shape);
    Mask &remove(const Shape &shape);
    Mask &keep(const Shape &shape);
    // Sprites are drawn facing the player, so most parts are symmetric about the middle.
    Mask &mirror();

private:
    int width_;
    int height_;
    std::vector<uint8_t> bits_;
};

// Colours from darkest to lightest.
using Ramp = std::vector<QColor>;
Ramp ramp(std::initializer_list<unsigned> rgb);

struct Lighting {
    double roundness = 5; // how far in from the edge a part keeps curving, in pixels
    double ambient = 0.22;
    double diffuse = 0.8;
    double shine = 0.3;
    double dither = 0.4; // 0 gives hard bands, 1 dithers all the way between neighbours
};

QImage emptyFrame(int width, int height);

// Paints a part as a rounded body lit from the upper left. The relief, when given, supplies
// the form instead of the part itself, so that markings follow the body they lie on.
void paintShaded(QImage &canvas, const Mask &part, const Ramp &colours, const Lighting &light = {},
                 const Mask *relief = nullptr);
// Paints a part that shines by itself: brightest in the middle, whatever the light.
void paintGlow(QImage &canvas, const Mask &part, const Ramp &colours, double depth = 3);
void paintFlat(QImage &canvas, const Mask &part, QColor colour);
// Tints the sprite's pixels near a glowing part, as if lit by it.
void spillLight(QImage &canvas, const Mask &source, QColor colour, int reach, double strength);

// Rings the sprite with a darker copy of each edge pixel's colour, which keeps the
// silhouette readable when the sprite is shrunk.
void outline(QImage &canvas, double darkness = 0.3);
void outline(QImage &canvas, QColor colour);
// Pure black counts as see-through in parts of the game.
void liftBlacks(QImage &canvas, int floor = 8);

int rampIndex(double value, int size, int x, int y, double dither);
QImage strip(const std::vector<QImage> &frames);

// Smooth noise in [0, 1] from a hash of the lattice, so it needs no tables.
double valueNoise(double x, double y, uint64_t seed);
double fractalNoise(double x, double y, uint64_t seed, int octaves = 3);

} // namespace makeart
