#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <vector>

namespace toolkit {

class Image;

// A list of equally sized frames, each with a mask: drawing a frame paints only where its
// mask is set and keeps the destination's pixels elsewhere. The mask is the frame's alpha
// channel (opaque where set).
class ImageList : public QObject {
    Q_OBJECT

public:
    ImageList(int width, int height, QObject *parent = nullptr);

    int width() const { return size_.width(); }
    int height() const { return size_.height(); }
    QSize size() const { return size_; }
    int count() const { return static_cast<int>(frames_.size()); }

    // Adds one frame; its alpha channel is its mask. Frames of another size are scaled.
    void add(const QImage &frame);
    // Adds every frame of a horizontal strip of frames of the list's size.
    void addStrip(const QImage &strip);
    const QImage &frame(int index) const;

    // Paints frame `index` onto `target` at (x, y) through its mask.
    void draw(QImage &target, int x, int y, int index) const;
    // Draws frame `index` into the control's picture: the picture takes the list's image size
    // (keeping what it held where it overlaps) and the frame is painted at (0, 0).
    void drawInto(Image &image, int index) const;

private:
    QSize size_;
    std::vector<QImage> frames_;
};

} // namespace toolkit
