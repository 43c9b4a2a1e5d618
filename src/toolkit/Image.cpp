#include "toolkit/Image.h"

#include <QPainter>

namespace toolkit {

Image::Image(QWidget *parent) : QWidget(parent), canvas_(&picture_) {
    canvas_.onChanged = [this](const QRect &) { pictureChanged(); };
}

void Image::setStretch(bool stretch) {
    if (stretch_ == stretch)
        return;
    stretch_ = stretch;
    update();
}

void Image::setTransparent(bool transparent) {
    if (transparent_ == transparent)
        return;
    transparent_ = transparent;
    shown_ = QImage();
    update();
}

void Image::setPicture(const QImage &picture) {
    picture_ = picture;
    pictureChanged();
}

void Image::clearPicture() {
    setPicture(QImage());
}

void Image::resetPicture(const QSize &size) {
    QImage black(size, QImage::Format_RGB32);
    black.fill(0xff000000u);
    setPicture(black);
}

Canvas &Image::canvas() {
    if (picture_.isNull() && !size().isEmpty()) {
        QImage white(size(), QImage::Format_RGB32);
        white.fill(0xffffffffu);
        setPicture(white);
    }
    return canvas_;
}

void Image::pictureChanged() {
    shown_ = QImage();
    update();
}

const QImage &Image::shownPicture() const {
    if (!transparent_)
        return picture_;
    if (shown_.isNull() && !picture_.isNull()) {
        QImage keyed = picture_.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < keyed.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x) {
                if ((line[x] & 0x00ffffffu) == 0)
                    line[x] = 0;
            }
        }
        shown_ = keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return shown_;
}

void Image::paintEvent(QPaintEvent *) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QImage &shown = shownPicture();
    if (stretch_)
        painter.drawImage(rect(), shown);
    else
        painter.drawImage(0, 0, shown);
}

} // namespace toolkit
