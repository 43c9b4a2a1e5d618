#include "toolkit/PaintBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace toolkit {

PaintBox::PaintBox(QWidget *parent) : QWidget(parent), canvas_(&image_) {
    // Every pixel comes from the image, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitImageToSize();
    // A game tick changes thousands of small areas; gathering them into one region costs far
    // more than showing the whole box once, so the first change asks for one repaint and the
    // rest wait for it.
    canvas_.onChanged = [this](const QRect &) {
        if (repaintPending_)
            return;
        repaintPending_ = true;
        update();
    };
}

void PaintBox::setColor(const QColor &color) {
    color_ = color;
    update();
}

Canvas &PaintBox::canvas() {
    fitImageToSize();
    return canvas_;
}

const QImage &PaintBox::image() const {
    fitImageToSize();
    return image_;
}

void PaintBox::repaintNow() {
    repaint();
}

void PaintBox::paintEvent(QPaintEvent *event) {
    repaintPending_ = false;
    fitImageToSize();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), image_, area);
}

void PaintBox::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    fitImageToSize();
}

void PaintBox::fitImageToSize() const {
    if (image_.size() == size() && !image_.isNull())
        return;
    QImage fitted(size(), QImage::Format_RGB32);
    if (fitted.isNull()) { // zero-sized box
        image_ = fitted;
        return;
    }
    fitted.fill(color_.rgb() | 0xff000000u);
    if (!image_.isNull()) {
        QPainter painter(&fitted);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image_);
    }
    // Assigned, not replaced: the canvas holds the address of image_.
    image_ = fitted;
}

} // namespace toolkit
