#include "gk/DisplayView.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <cmath>

namespace gk {

DisplayView::DisplayView(QWidget *window) : QWidget(window) {
    setObjectName("DisplayView");
    // Every pixel is painted each time: nothing to clear first, nothing behind to show.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Clicks and moves are the window's, as they were before it held a display.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window->rect());
    window->installEventFilter(this);
    lower();
    show();
}

void DisplayView::present(const PixelSurface *front, bool fit, const QRect &target) {
    front_ = front;
    fit_ = fit;
    target_ = target;
    update();
}

void DisplayView::setColors(const ColorTable &colors) {
    colors_ = colors;
    update();
}

QRect DisplayView::pictureRect() const {
    if (!front_)
        return {};
    return fit_ ? FitRect(QSize(front_->width(), front_->height()), rect()) : target_;
}

bool DisplayView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return false;
}

void DisplayView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect picture = pictureRect();
    if (!picture.isEmpty()) {
        // Made at the screen's own pixels, so that a scaled screen keeps them sharp too.
        const qreal ratio = devicePixelRatioF();
        const QSize pixels(int(std::lround(picture.width() * ratio)),
                           int(std::lround(picture.height() * ratio)));
        if (frame_.size() != pixels)
            frame_ = QImage(pixels, QImage::Format_RGB32);
        frame_.setDevicePixelRatio(ratio);
        PresentScaled(*front_, colors_, frame_);
        painter.drawImage(picture.topLeft(), frame_);
    }
    for (const QRect &border : QRegion(rect()).subtracted(QRegion(picture)))
        painter.fillRect(border, Qt::black);
}

} // namespace gk
