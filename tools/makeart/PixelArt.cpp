#include "PixelArt.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace makeart {

namespace {

constexpr double Degree = std::numbers::pi / 180;

double distanceToSegment(QPointF p, QPointF a, QPointF b, double &along) {
    const QPointF ab = b - a;
    const double lengthSquared = QPointF::dotProduct(ab, ab);
    along = lengthSquared > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / lengthSquared, 0.0, 1.0)
                              : 0.0;
    const QPointF closest = a + ab * along;
    return std::hypot(p.x() - closest.x(), p.y() - closest.y());
}

// Distance from each pixel of the part to the nearest pixel outside it, 0 outside. Sprites
// are small enough to search the edge exhaustively.
std::vector<double> depthInside(const Mask &part) {
    const int w = part.width();
    const int h = part.height();
    std::vector<QPoint> edge;
    for (int y = -1; y <= h; ++y) {
        for (int x = -1; x <= w; ++x) {
            if (!part.at(x, y) && (part.at(x - 1, y) || part.at(x + 1, y) || part.at(x, y - 1) ||
                                   part.at(x, y + 1))) {
                edge.emplace_back(x, y);
            }
        }
    }
    std::vector<double> depth(static_cast<std::size_t>(w) * h, 0.0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!part.at(x, y)) {
                continue;
            }
            int best = std::numeric_limits<int>::max();
            for (const QPoint &e : edge) {
                const int dx = e.x() - x;
                const int dy = e.y() - y;
                best = std::min(best, dx * dx + dy * dy);
            }
            depth[static_cast<std::size_t>(y) * w + x] = std::sqrt(best);
        }
    }
    return depth;
}

QColor scaled(QColor colour, double factor) {
    auto channel = [&](int c) { return std::clamp(static_cast<int>(c * factor + 0.5), 0, 255); };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

bool opaque(const QImage &canvas, int x, int y) {
    return canvas.valid(x, y) && qAlpha(canvas.pixel(x, y)) != 0;
}

uint64_t mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double lattice(int64_t x, int64_t y, uint64_t seed) {
    const uint64_t key = mix(seed ^ mix(static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
                                        static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full));
    return static_cast<double>(key >> 11) * 0x1.0p-53;
}

} // namespace

Shape disc(QPointF centre, double radius) {
    return [=](QPointF p) {
        const QPointF d = p - centre;
        return QPointF::dotProduct(d, d) <= radius * radius;
    };
}

Shape ellipse(QPointF centre, double rx, double ry, double angle) {
    const double c = std::cos(angle * Degree);
    const double s = std::sin(angle * Degree);
    return [=](QPointF p) {
        const QPointF d = p - centre;
        const double u = (d.x() * c + d.y() * s) / rx;
        const double v = (-d.x() * s + d.y() * c) / ry;
        return u * u + v * v <= 1;
    };
}

Shape polygon(const QPolygonF &corners) {
    return [=](QPointF p) { return corners.containsPoint(p, Qt::OddEvenFill); };
}

Shape stroke(const std::vector<QPointF> &path, double r0, double r1) {
    std::vector<double> start{0};
    for (std::size_t i = 1; i < path.size(); ++i) {
        const QPointF d = path[i] - path[i - 1];
        start.push_back(start.back() + std::hypot(d.x(), d.y()));
    }
    const double total = std::max(start.back(), 1e-9);
    return [=](QPointF p) {
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            double along = 0;
            const double distance = distanceToSegment(p, path[i], path[i + 1], along);
            const double s = (start[i] + along * (start[i + 1] - start[i])) / total;
            if (distance <= r0 + (r1 - r0) * s) {
                return true;
            }
        }
        return false;
    };
}

Shape halfPlaneBelow(double y) {
    return [=](QPointF p) { return p.y() >= y; };
}

std::vector<QPointF> bezier(QPointF p0, QPointF p1, QPointF p2, QPointF p3, int steps) {
    std::vector<QPointF> points;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double u = 1 - t;
        points.push_back(p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) +
                         p3 * (t * t * t));
    }
    return points;
}

std::vector<QPointF> turtle(QPointF start, double headingDegrees, double length,
                            const std::function<double(double)> &bend, int steps) {
    std::vector<QPointF> points{start};
    const double step = length / steps;
    double heading = headingDegrees;
    QPointF at = start;
    for (int i = 0; i < steps; ++i) {
        heading += bend((i + 0.5) / steps) * step;
        at += QPointF(std::cos(heading * Degree), std::sin(heading * Degree)) * step;
        points.push_back(at);
    }
    return points;
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), bits_(static_cast<std::size_t>(width) * height, 0) {}

bool Mask::at(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ &&
           bits_[static_cast<std::size_t>(y) * width_ + x] != 0;
}

void Mask::set(int x, int y, bool on) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) {
        bits_[static_cast<std::size_t>(y) * width_ + x] = on ? 1 : 0;
    }
}

bool Mask::operator()(QPointF p) const {
    return at(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

Mask &Mask::add(const Shape &shape) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (shape(QPointF(x + 0.5, y + 0.5))) {
                set(x, y, true);
            }
        }
    }
    return *this;
}

Mask &Mask::remove(const Shape &shape) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (shape(QPointF(x + 0.5, y + 0.5))) {
                set(x, y, false);
            }
        }
    }
    return *this;
}

Mask &Mask::keep(const Shape &shape) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (!shape(QPointF(x + 0.5, y + 0.5))) {
                set(x, y, false);
            }
        }
    }
    return *this;
}

Mask &Mask::mirror() {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_ / 2; ++x) {
            const bool on = at(x, y) || at(width_ - 1 - x, y);
            set(x, y, on);
            set(width_ - 1 - x, y, on);
        }
    }
    return *this;
}

Ramp ramp(std::initializer_list<unsigned> rgb) {
    Ramp colours;
    for (const unsigned value : rgb) {
        colours.push_back(QColor::fromRgb(value));
    }
    return colours;
}

QImage emptyFrame(int width, int height) {
    QImage frame(width, height, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    return frame;
}

int rampIndex(double value, int size, int x, int y, double dither) {
    // A 4 x 4 ordered-dither matrix spreads the step between two colours evenly.
    static constexpr int bayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double threshold = (bayer[y & 3][x & 3] + 0.5) / 16 - 0.5;
    const double t = std::clamp(value, 0.0, 1.0) * (size - 1);
    return std::clamp(static_cast<int>(std::floor(t + 0.5 + threshold * dither)), 0, size - 1);
}

void paintShaded(QImage &canvas, const Mask &part, const Ramp &colours, const Lighting &light,
                 const Mask *relief) {
    const Mask &form = relief ? *relief : part;
    const std::vector<double> depth = depthInside(form);
    const int w = form.width();
    const double r = light.roundness;
    auto height = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= form.height()) {
            return 0.0;
        }
        const double d = std::min(depth[static_cast<std::size_t>(y) * w + x], r);
        return std::sqrt(std::max(0.0, r * r - (r - d) * (r - d)));
    };
    // Light from the upper left and a little in front; the viewer looks straight on.
    const double lx = -0.45, ly = -0.62, lz = 0.64;
    const double hLength = std::sqrt(lx * lx + ly * ly + (lz + 1) * (lz + 1));
    const double hx = lx / hLength, hy = ly / hLength, hz = (lz + 1) / hLength;

    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            if (!part.at(x, y)) {
                continue;
            }
            const double gx = (height(x + 1, y) - height(x - 1, y)) / 2;
            const double gy = (height(x, y + 1) - height(x, y - 1)) / 2;
            const double n = std::sqrt(gx * gx + gy * gy + 1);
            const double nx = -gx / n, ny = -gy / n, nz = 1 / n;
            const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
            const double specular = std::pow(std::max(0.0, nx * hx + ny * hy + nz * hz), 24);
            const double value = light.ambient + light.diffuse * diffuse + light.shine * specular;

            // Where this part lies over an earlier one, a dark seam keeps the two apart.
            const bool seam = (!part.at(x - 1, y) && opaque(canvas, x - 1, y)) ||
                              (!part.at(x + 1, y) && opaque(canvas, x + 1, y)) ||
                              (!part.at(x, y - 1) && opaque(canvas, x, y - 1)) ||
                              (!part.at(x, y + 1) && opaque(canvas, x, y + 1));
            const int index =
                seam ? 0 : rampIndex(value, static_cast<int>(colours.size()), x, y, light.dither);
            canvas.setPixel(x, y, colours[static_cast<std::size_t>(index)].rgb());
        }
    }
}

void paintGlow(QImage &canvas, const Mask &part, const Ramp &colours, double depthOfCore) {
    const std::vector<double> depth = depthInside(part);
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            if (!part.at(x, y)) {
                continue;
            }
            const double d = depth[static_cast<std::size_t>(y) * part.width() + x];
            const double value = (d - 1) / std::max(depthOfCore - 1, 1e-9);
            const int index = rampIndex(value, static_cast<int>(colours.size()), x, y, 0.6);
            canvas.setPixel(x, y, colours[static_cast<std::size_t>(index)].rgb());
        }
    }
}

void paintFlat(QImage &canvas, const Mask &part, QColor colour) {
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            if (part.at(x, y)) {
                canvas.setPixel(x, y, colour.rgb());
            }
        }
    }
}

void spillLight(QImage &canvas, const Mask &source, QColor colour, int reach, double strength) {
    const QImage before = canvas;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (!opaque(before, x, y) || source.at(x, y)) {
                continue;
            }
            double nearest = reach + 1;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    if (source.at(x + dx, y + dy)) {
                        nearest = std::min(nearest, std::hypot(dx, dy));
                    }
                }
            }
            if (nearest > reach) {
                continue;
            }
            const double k = strength * (1 - (nearest - 1) / reach);
            const QColor old = QColor::fromRgb(before.pixel(x, y));
            auto blend = [&](int a, int b) { return static_cast<int>(a + (b - a) * k + 0.5); };
            canvas.setPixel(x, y,
                            qRgb(blend(old.red(), colour.red()), blend(old.green(), colour.green()),
                                 blend(old.blue(), colour.blue())));
        }
    }
}

namespace {

template <typename Colour> void ring(QImage &canvas, Colour colourFor) {
    const QImage before = canvas;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (opaque(before, x, y)) {
                continue;
            }
            // The darkest neighbour decides, so a glowing rim does not get a bright ring.
            const QPoint around[] = {{x, y - 1}, {x - 1, y}, {x + 1, y}, {x, y + 1}};
            int best = -1;
            QColor chosen;
            for (const QPoint &n : around) {
                if (!opaque(before, n.x(), n.y())) {
                    continue;
                }
                const QColor c = QColor::fromRgb(before.pixel(n));
                const int darkness = 765 - (c.red() + c.green() + c.blue());
                if (darkness > best) {
                    best = darkness;
                    chosen = c;
                }
            }
            if (best >= 0) {
                canvas.setPixel(x, y, colourFor(chosen).rgb());
            }
        }
    }
}

} // namespace

void outline(QImage &canvas, double darkness) {
    ring(canvas, [&](QColor c) { return scaled(c, darkness); });
}

void outline(QImage &canvas, QColor colour) {
    ring(canvas, [&](QColor) { return colour; });
}

void liftBlacks(QImage &canvas, int floor) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb p = canvas.pixel(x, y);
            if (qAlpha(p) != 0) {
                canvas.setPixel(x, y,
                                qRgb(std::max(qRed(p), floor), std::max(qGreen(p), floor),
                                     std::max(qBlue(p), floor)));
            }
        }
    }
}

QImage strip(const std::vector<QImage> &frames) {
    const int w = frames.front().width();
    const int h = frames.front().height();
    QImage image(w * static_cast<int>(frames.size()), h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                image.setPixel(static_cast<int>(i) * w + x, y, frames[i].pixel(x, y));
            }
        }
    }
    return image;
}

double valueNoise(double x, double y, uint64_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<int64_t>(fx);
    const auto iy = static_cast<int64_t>(fy);
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double u = smooth(x - fx);
    const double v = smooth(y - fy);
    const double top = lattice(ix, iy, seed) * (1 - u) + lattice(ix + 1, iy, seed) * u;
    const double bottom = lattice(ix, iy + 1, seed) * (1 - u) + lattice(ix + 1, iy + 1, seed) * u;
    return top * (1 - v) + bottom * v;
}

double fractalNoise(double x, double y, uint64_t seed, int octaves) {
    double sum = 0;
    double weight = 1;
    double total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + static_cast<uint64_t>(i)) * weight;
        total += weight;
        weight *= 0.5;
        x *= 2;
        y *= 2;
    }
    return sum / total;
}

} // namespace makeart
