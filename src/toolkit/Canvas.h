#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <functional>

namespace toolkit {

// How floodFill decides which pixels belong to the area it paints.
enum class FillStyle {
    Surface, // the area of the given colour that contains the start point
    Border,  // everything connected to the start point up to pixels of the given colour
};

// Drawing onto a picture with the program's classic canvas: a pen (colour and width) for
// outlines and lines, a brush (colour) for fills, a current pen position, whole pixels and
// no antialiasing. Drawing the same shape again in another colour covers exactly the same
// pixels, so a shape drawn again in the background colour is erased without a trace.
//
// The canvas draws into an image it does not own. Whoever shows that image learns about
// every change through onChanged, with the rectangle that changed.
class Canvas {
public:
    explicit Canvas(QImage *target = nullptr);
    virtual ~Canvas() = default;
    Canvas(const Canvas &) = default;
    Canvas &operator=(const Canvas &) = default;

    void setTarget(QImage *target);
    QImage *target() const { return target_; }

    QColor penColor() const { return penColor_; }
    void setPenColor(const QColor &color) { penColor_ = color; }
    int penWidth() const { return penWidth_; }
    void setPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }
    QColor brushColor() const { return brushColor_; }
    void setBrushColor(const QColor &color) { brushColor_ = color; }

    QPoint penPos() const { return penPos_; }
    void moveTo(int x, int y);
    // A line from the pen position to (x, y) with the pen; (x, y) itself is not painted,
    // and it becomes the new pen position.
    void lineTo(int x, int y);
    // The ellipse inside the bounding box from (x1, y1) to (x2, y2), right and bottom edges
    // excluded: outlined with the pen and filled with the brush.
    void ellipse(int x1, int y1, int x2, int y2);
    void fillRect(const QRect &rect); // with the brush
    // Copies a picture with its top-left corner at (x, y): every pixel of it replaces the
    // canvas's pixel, and what lies outside the canvas is cut off.
    void draw(int x, int y, const QImage &picture);

    QColor pixel(int x, int y) const; // invalid colour outside the picture
    void setPixel(int x, int y, const QColor &color);

    // Paints with the brush from (x, y); see FillStyle for which pixels take part. Pixels
    // touch across their four sides. A start point outside the picture paints nothing.
    void floodFill(int x, int y, const QColor &color, FillStyle style);

    std::function<void(const QRect &)> onChanged;

protected:
    // The picture every drawing operation works on, asked for anew by each: the target. A
    // canvas that lends its picture only while it is being drawn on (a display surface's)
    // provides it here.
    virtual QImage *drawingTarget() const { return target_; }

private:
    void changed(const QImage &image, const QRect &rect);

    QImage *target_ = nullptr;
    QColor penColor_{Qt::black};
    int penWidth_ = 1;
    QColor brushColor_{Qt::white};
    QPoint penPos_;
};

} // namespace toolkit
