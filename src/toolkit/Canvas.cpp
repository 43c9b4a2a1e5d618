#include "toolkit/Canvas.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace toolkit {

namespace {

bool isDirect32(const QImage &image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}

// Every colour the canvas writes is opaque, which reads the same in all three 32-bit formats.
QRgb opaque(const QColor &color) {
    return color.rgb() | 0xff000000u;
}

// Writes to the image's pixels go through here so that the 32-bit formats skip QImage's
// per-pixel format dispatch and every other format still works.
class PixelWriter {
public:
    explicit PixelWriter(QImage &image) : image_(image), direct_(isDirect32(image)) {}

    bool contains(int x, int y) const {
        return x >= 0 && y >= 0 && x < image_.width() && y < image_.height();
    }

    void put(int x, int y, QRgb rgb) {
        if (direct_)
            reinterpret_cast<QRgb *>(image_.scanLine(y))[x] = rgb;
        else
            image_.setPixel(x, y, rgb);
    }

    void span(int x1, int x2, int y, QRgb rgb) { // x1..x2 inclusive, clipped
        if (y < 0 || y >= image_.height())
            return;
        x1 = std::max(x1, 0);
        x2 = std::min(x2, image_.width() - 1);
        if (x1 > x2)
            return;
        if (direct_) {
            QRgb *line = reinterpret_cast<QRgb *>(image_.scanLine(y));
            std::fill(line + x1, line + x2 + 1, rgb);
        } else {
            for (int x = x1; x <= x2; ++x)
                image_.setPixel(x, y, rgb);
        }
    }

    QRgb rgbAt(int x, int y) const {
        QRgb value = direct_ ? reinterpret_cast<const QRgb *>(image_.constScanLine(y))[x]
                             : image_.pixel(x, y);
        return value & 0x00ffffffu;
    }

private:
    QImage &image_;
    bool direct_;
};

// Whether pixel (i, j) lies in the ellipse inscribed in the box [x, x + w) x [y, y + h):
// its centre is tested against the ellipse in doubled integer coordinates, so the result is
// exact and mirror-symmetric.
struct EllipseBox {
    int x, y, w, h;

    bool empty() const { return w <= 0 || h <= 0; }

    bool contains(int i, int j) const {
        if (empty())
            return false;
        const std::int64_t dx = 2 * std::int64_t(i) + 1 - 2 * std::int64_t(x) - w;
        const std::int64_t dy = 2 * std::int64_t(j) + 1 - 2 * std::int64_t(y) - h;
        const std::int64_t ww = std::int64_t(w) * w;
        const std::int64_t hh = std::int64_t(h) * h;
        return dx * dx * hh + dy * dy * ww <= ww * hh;
    }

    // The pixels of row j inside the ellipse, as an inclusive range; false if none.
    bool row(int j, int &left, int &right) const {
        if (empty() || j < y || j >= y + h)
            return false;
        const int mid = x + (w - 1) / 2;
        if (!contains(mid, j))
            return false;
        int lo = x;
        int hi = mid;
        while (lo < hi) { // first column inside, searching from the left edge
            const int m = lo + (hi - lo) / 2;
            if (contains(m, j))
                hi = m;
            else
                lo = m + 1;
        }
        left = lo;
        right = 2 * x + w - 1 - lo; // mirror image of left
        return true;
    }
};

// The pixels a pen of the given width covers around one point of a line: a disc of that
// diameter, so wide lines have round ends and joins.
std::vector<QPoint> penStamp(int width) {
    std::vector<QPoint> stamp;
    const int lowest = -(width / 2);
    const double centre = (width - 1) / 2.0;
    const double r2 = (width / 2.0) * (width / 2.0);
    for (int j = 0; j < width; ++j) {
        for (int i = 0; i < width; ++i) {
            const double di = i - centre;
            const double dj = j - centre;
            if (di * di + dj * dj <= r2 + 1e-9)
                stamp.emplace_back(lowest + i, lowest + j);
        }
    }
    return stamp;
}

} // namespace

Canvas::Canvas(QImage *target) : target_(target) {}

void Canvas::setTarget(QImage *target) {
    target_ = target;
}

void Canvas::changed(const QImage &image, const QRect &rect) {
    if (!onChanged)
        return;
    const QRect clipped = rect.intersected(image.rect());
    if (!clipped.isEmpty())
        onChanged(clipped);
}

void Canvas::moveTo(int x, int y) {
    penPos_ = QPoint(x, y);
}

void Canvas::lineTo(int x, int y) {
    const QPoint from = penPos_;
    penPos_ = QPoint(x, y);
    if (from == penPos_)
        return;
    QImage *image = drawingTarget();
    if (!image || image->isNull())
        return;

    PixelWriter out(*image);
    const QRgb rgb = opaque(penColor_);
    const std::vector<QPoint> stamp =
        penWidth_ > 1 ? penStamp(penWidth_) : std::vector<QPoint>{QPoint(0, 0)};

    int cx = from.x();
    int cy = from.y();
    const int dx = std::abs(x - cx);
    const int dy = -std::abs(y - cy);
    const int sx = cx < x ? 1 : -1;
    const int sy = cy < y ? 1 : -1;
    int err = dx + dy;
    while (cx != x || cy != y) {
        for (const QPoint &offset : stamp) {
            const int px = cx + offset.x();
            const int py = cy + offset.y();
            if (out.contains(px, py))
                out.put(px, py, rgb);
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            err += dx;
            cy += sy;
        }
    }

    const int reach = penWidth_ / 2 + 1;
    changed(*image, QRect(from, penPos_).normalized().adjusted(-reach, -reach, reach, reach));
}

void Canvas::ellipse(int x1, int y1, int x2, int y2) {
    QImage *image = drawingTarget();
    if (!image || image->isNull())
        return;
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    const EllipseBox outer{x1, y1, x2 - x1, y2 - y1};
    if (outer.empty())
        return;
    // The outline lies inside the box, as deep as the pen is wide; what it encloses is
    // the brush's.
    const int p = penWidth_;
    const EllipseBox inner{x1 + p, y1 + p, outer.w - 2 * p, outer.h - 2 * p};

    PixelWriter out(*image);
    const QRgb pen = opaque(penColor_);
    const QRgb brush = opaque(brushColor_);
    for (int j = y1; j < y2; ++j) {
        int left = 0;
        int right = 0;
        if (!outer.row(j, left, right))
            continue;
        int innerLeft = 0;
        int innerRight = 0;
        if (inner.row(j, innerLeft, innerRight)) {
            out.span(left, innerLeft - 1, j, pen);
            out.span(innerLeft, innerRight, j, brush);
            out.span(innerRight + 1, right, j, pen);
        } else {
            out.span(left, right, j, pen);
        }
    }
    changed(*image, QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void Canvas::fillRect(const QRect &rect) {
    QImage *image = drawingTarget();
    if (!image || image->isNull())
        return;
    const QRect area = rect.normalized().intersected(image->rect());
    if (area.isEmpty())
        return;
    PixelWriter out(*image);
    const QRgb brush = opaque(brushColor_);
    for (int y = area.top(); y <= area.bottom(); ++y)
        out.span(area.left(), area.right(), y, brush);
    changed(*image, area);
}

void Canvas::draw(int x, int y, const QImage &picture) {
    QImage *image = drawingTarget();
    if (!image || image->isNull() || picture.isNull())
        return;
    const QRect area = QRect(QPoint(x, y), picture.size()).intersected(image->rect());
    if (area.isEmpty())
        return;
    {
        QPainter painter(image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(x, y), picture);
    }
    changed(*image, area);
}

QColor Canvas::pixel(int x, int y) const {
    const QImage *image = drawingTarget();
    if (!image || !image->valid(x, y))
        return {};
    return QColor::fromRgb(image->pixel(x, y) | 0xff000000u);
}

void Canvas::setPixel(int x, int y, const QColor &color) {
    QImage *image = drawingTarget();
    if (!image || !image->valid(x, y))
        return;
    PixelWriter(*image).put(x, y, opaque(color));
    changed(*image, QRect(x, y, 1, 1));
}

void Canvas::floodFill(int x, int y, const QColor &color, FillStyle style) {
    QImage *image = drawingTarget();
    if (!image || !image->valid(x, y))
        return;
    PixelWriter out(*image);
    const int width = image->width();
    const int height = image->height();
    const QRgb key = color.rgb() & 0x00ffffffu;
    const bool wantEqual = style == FillStyle::Surface;
    const QRgb brush = opaque(brushColor_);

    // Painted pixels are remembered rather than recognised by colour, so a brush of the
    // colour that decides membership cannot make the fill run forever.
    std::vector<std::uint8_t> done(std::size_t(width) * height, 0);
    auto member = [&](int px, int py) {
        return !done[std::size_t(py) * width + px] && ((out.rgbAt(px, py) == key) == wantEqual);
    };
    if (!member(x, y))
        return;

    std::vector<QPoint> seeds{QPoint(x, y)};
    while (!seeds.empty()) {
        const QPoint seed = seeds.back();
        seeds.pop_back();
        const int sy = seed.y();
        if (!member(seed.x(), sy))
            continue;
        int left = seed.x();
        while (left > 0 && member(left - 1, sy))
            --left;
        int right = seed.x();
        while (right < width - 1 && member(right + 1, sy))
            ++right;
        std::fill(done.begin() + std::ptrdiff_t(sy) * width + left,
                  done.begin() + std::ptrdiff_t(sy) * width + right + 1, 1);
        out.span(left, right, sy, brush);

        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= height)
                continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                const bool m = member(px, ny);
                if (m && !inRun)
                    seeds.emplace_back(px, ny);
                inRun = m;
            }
        }
    }
    changed(*image, image->rect());
}

} // namespace toolkit
