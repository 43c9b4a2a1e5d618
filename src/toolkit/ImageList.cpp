#include "toolkit/ImageList.h"

#include "toolkit/Image.h"

#include <QPainter>

#include <algorithm>

namespace toolkit {

ImageList::ImageList(int width, int height, QObject *parent)
    : QObject(parent), size_(std::max(width, 0), std::max(height, 0)) {}

void ImageList::add(const QImage &frame) {
    QImage stored = frame.convertToFormat(QImage::Format_ARGB32);
    if (stored.size() != size_)
        stored = stored.scaled(size_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    frames_.push_back(stored);
}

void ImageList::addStrip(const QImage &strip) {
    if (size_.isEmpty())
        return;
    const int frames = strip.width() / size_.width();
    for (int i = 0; i < frames; ++i)
        add(strip.copy(i * size_.width(), 0, size_.width(), strip.height()));
}

const QImage &ImageList::frame(int index) const {
    static const QImage none;
    if (index < 0 || index >= count())
        return none;
    return frames_[std::size_t(index)];
}

void ImageList::draw(QImage &target, int x, int y, int index) const {
    if (index < 0 || index >= count() || target.isNull())
        return;
    const QImage &source = frames_[std::size_t(index)];
    const QRect area = QRect(x, y, source.width(), source.height()).intersected(target.rect());
    if (area.isEmpty())
        return;
    const bool direct = target.format() == QImage::Format_RGB32 ||
                        target.format() == QImage::Format_ARGB32 ||
                        target.format() == QImage::Format_ARGB32_Premultiplied;
    for (int ty = area.top(); ty <= area.bottom(); ++ty) {
        const QRgb *from = reinterpret_cast<const QRgb *>(source.constScanLine(ty - y));
        QRgb *to = direct ? reinterpret_cast<QRgb *>(target.scanLine(ty)) : nullptr;
        for (int tx = area.left(); tx <= area.right(); ++tx) {
            const QRgb pixel = from[tx - x];
            // The mask is all or nothing, as a one-bit mask was.
            if (qAlpha(pixel) < 128)
                continue;
            const QRgb painted = pixel | 0xff000000u;
            if (direct)
                to[tx] = painted;
            else
                target.setPixel(tx, ty, painted);
        }
    }
}

void ImageList::drawInto(Image &image, int index) const {
    if (index < 0 || index >= count())
        return;
    QImage picture = image.picture();
    if (picture.size() != size_ || picture.isNull()) {
        QImage resized(size_, QImage::Format_RGB32);
        resized.fill(0xff000000u);
        if (!picture.isNull()) {
            QPainter painter(&resized);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, picture);
        }
        picture = resized;
    }
    draw(picture, 0, 0, index);
    image.setPicture(picture); // repaints the control
}

} // namespace toolkit
