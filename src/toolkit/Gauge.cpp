#include "toolkit/Gauge.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace toolkit {

namespace {
constexpr int FrameWidth = 1;
}

Gauge::Gauge(QWidget *parent) : QWidget(parent) {}

// The range is kept non-empty in the order the bounds are set: a minimum above the maximum
// lifts the maximum, and the reverse; progress follows into the new range.
void Gauge::setMinValue(int value) {
    min_ = value;
    max_ = std::max(max_, min_);
    setProgress(progress_);
    update();
}

void Gauge::setMaxValue(int value) {
    max_ = value;
    min_ = std::min(min_, max_);
    setProgress(progress_);
    update();
}

void Gauge::setProgress(int value) {
    const int clamped = std::clamp(value, min_, max_);
    if (clamped == progress_)
        return;
    progress_ = clamped;
    update();
}

void Gauge::setBarColor(const QColor &color) {
    barColor_ = color;
    update();
}

void Gauge::setBackColor(const QColor &color) {
    backColor_ = color;
    update();
}

int Gauge::barHeight() const {
    const int inner = std::max(height() - 2 * FrameWidth, 0);
    if (max_ <= min_)
        return 0;
    return static_cast<int>(std::int64_t(inner) * (std::int64_t(progress_) - min_) /
                            (std::int64_t(max_) - min_));
}

void Gauge::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect outer = rect();
    if (outer.isEmpty())
        return;
    // Sunken: shadow above and to the left, light below and to the right.
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width() - 1, 1), dark);
    painter.fillRect(QRect(outer.left(), outer.top(), 1, outer.height() - 1), dark);
    painter.fillRect(QRect(outer.right(), outer.top(), 1, outer.height()), light);
    painter.fillRect(QRect(outer.left(), outer.bottom(), outer.width(), 1), light);

    const QRect inner = outer.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    if (inner.isEmpty())
        return;
    painter.fillRect(inner, backColor_);
    const int bar = barHeight();
    if (bar > 0)
        painter.fillRect(QRect(inner.left(), inner.bottom() + 1 - bar, inner.width(), bar),
                         barColor_);
}

} // namespace toolkit
